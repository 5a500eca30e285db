#include "app/AppIcon.h"

#include <QImage>

#include <array>
#include <mutex>

// The shell is a static library: its built-in pictures must be registered by hand.
static void registerIconPictures() {
    Q_INIT_RESOURCE(icons);
}

namespace tess::app {

namespace {

constexpr std::array<int, 3> kMadeSizes = {16, 32, 48};

// The pictures at the sizes made, read once, by whichever thread asks first.
const std::array<QImage, 3>& madePictures() {
    static std::once_flag read;
    static std::array<QImage, 3> pictures;
    std::call_once(read, [] {
        registerIconPictures();
        for (std::size_t i = 0; i < kMadeSizes.size(); ++i)
            pictures[i] = QImage(QStringLiteral(":/icons/%1.png").arg(kMadeSizes[i]));
    });
    return pictures;
}

} // namespace

void readAppIconPictures() {
    madePictures();
}

// The pictures are the desktop icon's own (dist/icons, drawn from dist/icons/tessarin.svg by
// dist/make-icons.sh), built into the program.
QPixmap appIconPixmap(int size) {
    const std::size_t made = size <= 16 ? 0 : size <= 32 ? 1 : 2;
    const QPixmap pixmap = QPixmap::fromImage(madePictures()[made]);
    return kMadeSizes[made] == size
               ? pixmap
               : pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QIcon appIcon() {
    QIcon icon;
    for (int size : kMadeSizes)
        icon.addPixmap(appIconPixmap(size));
    return icon;
}

} // namespace tess::app
