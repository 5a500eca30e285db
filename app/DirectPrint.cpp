// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/DirectPrint.h"

#include "app/CMainFrame.h"
#include "app/CMekkApp.h"

#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace tess::app {

namespace {

int cannotStart(bool dialogsAllowed) {
    CMekkApp::reportFailure(QStringLiteral("Could not start print job."), dialogsAllowed);
    return kExitFailed;
}

} // namespace

int printDirect(CMainFrame& frame, const QString& printerName, bool dialogsAllowed) {
    // The page is painted at the size the view's client area would have on the screen.
    frame.placeOnScreen();
    if (QLayout* layout = frame.layout()) layout->activate();
    ViewWidget* widget = frame.viewWidget();
    const double ratio = widget->devicePixelRatioF();
    const int width = std::max(1, static_cast<int>(std::lround(widget->width() * ratio)));
    const int height = std::max(1, static_cast<int>(std::lround(widget->height() * ratio)));

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(frame.document().title());
    if (!printerName.isEmpty()) {
        // Qt would silently fall back to the default printer: refuse instead.
        if (QPrinterInfo::printerInfo(printerName).isNull()) return cannotStart(dialogsAllowed);
        printer.setPrinterName(printerName);
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        if (!dialogsAllowed) return cannotStart(false);
        QPrintDialog dialog(&printer);
        if (dialog.exec() != QDialog::Accepted) return kExitFailed;
    } else {
        printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    }

    Canvas canvas(width, height);
    DrawingContext dc(canvas);
    frame.view().OnDraw(dc);

    QPainter painter;
    if (!painter.begin(&printer)) return cannotStart(dialogsAllowed);
    // One page, the painted canvas scaled to fit the printable area with its proportions
    // kept. The painter's origin is already the printable area's corner.
    const QSize area = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    const double scale = std::min(double(area.width()) / width, double(area.height()) / height);
    const QRectF target(0, 0, width * scale, height * scale);
    const QImage image(reinterpret_cast<const uchar*>(canvas.data()), width, height,
                       static_cast<qsizetype>(width) * 4, QImage::Format_RGB32);
    painter.drawImage(target, image);
    if (!painter.end()) return cannotStart(dialogsAllowed);
    return kExitOk;
}

} // namespace tess::app
