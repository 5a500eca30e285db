// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The game's document: it holds nothing of the game and is never modified, so closing the
// program never asks to save. It only remembers the file it was opened from or saved to.
#pragma once
#include <QString>

#include <string>

namespace tess::app {

class CMekkDoc {
  public:
    // New: the same document again, without a file.
    void onNewDocument();
    // Opens `path` as the document without reading it: the file must exist, be a regular
    // file or a device that can be opened for reading. On failure the document is unchanged.
    bool openDocument(const std::string& rawPath);
    // Writes the document's contents, which are nothing, to `path`: an empty file.
    bool saveDocument(const QString& path);

    const QString& pathName() const { return path_; }
    // Whether the document's file holds only what this document wrote (nothing), so saving
    // into it again loses nothing.
    bool fileIsOurs() const { return fileIsOurs_; }
    // The file's name, or "Untitled" without a file: the title of a print job.
    QString title() const;

    // The framework's message for a file that cannot be opened.
    static QString cannotFindMessage(const QString& path);

  private:
    QString path_;
    bool fileIsOurs_ = false;
};

} // namespace tess::app
