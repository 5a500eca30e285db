// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/CAboutDlg.h"

#include "app/AppIcon.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace tess::app {

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), text_(new QLabel(this)), ok_(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("About Tessarin"));
    setModal(true);

    // The dialog is laid out in dialog units: a quarter of the average character width
    // across, an eighth of the font's height down.
    const QFontMetrics fm(font());
    const auto dx = [&](int units) { return units * fm.averageCharWidth() / 4; };
    const auto dy = [&](int units) { return units * fm.height() / 8; };

    auto* icon = new QLabel(this);
    icon->setPixmap(appIconPixmap(32));
    icon->setGeometry(dx(11), dy(17) - 6, 32, 32);

    // Shown as plain text, so an ampersand stays an ampersand.
    text_->setTextFormat(Qt::PlainText);
    text_->setText(QStringLiteral("Tessarin Version M609 \nPress F1 to see the instructions."));
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // As wide as the room left of the OK button: Linux fonts run wider than the original's.
    text_->setGeometry(dx(40), dy(10), dx(178) - dx(40) - 4, dy(19) + 4);

    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    ok_->setGeometry(dx(178), dy(7), dx(50), dy(14));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(dx(235), dy(55));
}

} // namespace tess::app
