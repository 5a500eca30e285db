// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The About box, dialog 100: the icon, the version text and a default OK button.
#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace tess::app {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    QLabel* textLabel() const { return text_; }
    QPushButton* okButton() const { return ok_; }

  private:
    QLabel* text_;
    QPushButton* ok_;
};

} // namespace tess::app
