// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// The main window: a title bar without close, minimise or maximise buttons and without a
// sizing border, maximised; the menu bar and the accelerator table; the view below them.
#pragma once
#include "app/CMekkDoc.h"
#include "app/ViewWidget.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QMenu;
class QTimer;

namespace tess {
class WatchedGame;
}

namespace tess::app {

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(SoundDevice* audio, QWidget* parent = nullptr);
    ~CMainFrame() override;

    ViewWidget* viewWidget() const { return view_; }
    CMekkView& view() const { return view_->view(); }
    CMekkDoc& document() { return doc_; }

    // Fills the screen's available area with a fixed size, also where no window manager
    // maximises windows.
    void placeOnScreen();
    // Shows the window maximised and gives it the keyboard.
    void showMaximisedOnScreen();
    // Handles events until the view has painted for the first time, for five seconds at most.
    void waitForFirstPaint();

    // Enables or greys every menu item as the game's state says: before a menu opens and
    // before an accelerator's command runs.
    void updateActions();

    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* soundMenu() const { return soundMenu_; }
    QMenu* helpMenu() const { return helpMenu_; }
    QAction* printAction() const { return print_; }
    QAction* printSetupAction() const { return printSetup_; }
    QAction* exitAction() const { return exit_; }
    QAction* soundAction(int command) const;
    // Help's "Watch a Perfect Game" submenu and its items: 0 for the current shape (F2),
    // 4, 6, 8 or 10 for a shape.
    QMenu* watchMenu() const { return watchMenu_; }
    QAction* watchAction(int vertexCount) const;

    // Plays a perfect game of the shape (0: the shape of the game page, or the one played last
    // when on the home page) for the player to watch, a step at each beat of a timer, in place
    // of whatever the view showed: the home page, a finished game or another watched game,
    // never a game of the player's that is under way (its menu items and F2 are greyed then).
    // While it plays, clicks and keys on the game are ignored but Escape and Home, which stop
    // it and show the home page; the menus stay usable.
    void watchPerfectGame(int vertexCount);
    // Whether the page shows a game of the player's own, drawing or colouring.
    bool playersGameUnderWay() const;
    bool watchingPerfectGame() const;
    void stopWatching();

    // The commands of the accelerator table and the menus.
    void fileNew();
    void fileOpen();
    void fileSave();
    void appAbout();
    // Runs the accelerator table's command for a key combination, as a press of it would.
    // Returns false when the combination is not in the table.
    bool runAccelerator(const QKeySequence& keys);
    // A Ctrl or Alt combination named by the key's place, for layouts whose letters Qt's
    // shortcuts cannot read: the accelerator table's command, or the menu whose title
    // underlines the letter.
    void runShortcutByPosition(QKeyCombination keys);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;
    // An open menu's key under a layout of other letters, given as the letter at its place.
    bool menuKeyFilter(QObject* watched, QEvent* event);

  private:
    // The window's place and size, its frame left out, that fill the available area with the
    // frame the window has now; invalid before the window exists.
    QRect fittedArea() const;
    // Shows the window on a Wayland compositor: maximised, painted once the compositor has
    // given its size, and fixed at that size.
    void showOnWayland();
    // Whether the window is exposed at a size the compositor gave it.
    bool sizedByCompositor() const;
    void makeMenus();
    void makeAccelerators();
    void regainKeyboard();
    void watchStep();

    CMekkDoc doc_;
    ViewWidget* view_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* soundMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* print_ = nullptr;
    QAction* printSetup_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* sound_[4] = {};
    // How many moves and resizes the window system has reported.
    int placedByWindowSystem_ = 0;
    QMenu* watchMenu_ = nullptr;
    QAction* watch_[5] = {}; // the current shape, then Square to Decagon
    std::unique_ptr<WatchedGame> watched_;
    QTimer* watchTimer_ = nullptr;
};

} // namespace tess::app
