// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/CMekkDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tess::app {

void CMekkDoc::onNewDocument() {
    path_.clear();
    fileIsOurs_ = false;
}

bool CMekkDoc::openDocument(const std::string& rawPath) {
    if (rawPath.empty()) return false;
    // Raw bytes straight to the system: a name that is not valid UTF-8 still opens.
    const int fd = ::open(rawPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    ::close(fd);
    if (!ok) return false;
    path_ = QFile::decodeName(QByteArray::fromStdString(rawPath));
    fileIsOurs_ = false;
    return true;
}

bool CMekkDoc::saveDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    file.close();
    path_ = path;
    fileIsOurs_ = true;
    return true;
}

QString CMekkDoc::title() const {
    if (path_.isEmpty()) return QStringLiteral("Untitled");
    return QFileInfo(path_).fileName();
}

QString CMekkDoc::cannotFindMessage(const QString& path) {
    return path +
           QStringLiteral("\nCannot find this file.\nPlease verify that the correct path and file "
                          "name are given.");
}

} // namespace tess::app
