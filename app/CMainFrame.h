// The main window: a title bar without close, minimise or maximise buttons and without a
// sizing border, maximised; the menu bar and the accelerator table; the view below them.
#pragma once
#include "app/CMekkDoc.h"
#include "app/ViewWidget.h"

#include <QMainWindow>

class QAction;
class QMenu;

namespace tess::app {

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(SdlAudio* audio, QWidget* parent = nullptr);

    ViewWidget* viewWidget() const { return view_; }
    CMekkView& view() const { return view_->view(); }
    CMekkDoc& document() { return doc_; }

    // Fills the screen's available area with a fixed size, also where no window manager
    // maximises windows.
    void placeOnScreen();
    // Shows the window maximised and gives it the keyboard.
    void showMaximisedOnScreen();

    // Enables or greys every menu item as the game's state says: before a menu opens and
    // before an accelerator's command runs.
    void updateActions();

    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* soundMenu() const { return soundMenu_; }
    QMenu* helpMenu() const { return helpMenu_; }
    QAction* printAction() const { return print_; }
    QAction* printSetupAction() const { return printSetup_; }
    QAction* exitAction() const { return exit_; }
    QAction* aboutAction() const { return about_; }
    QAction* soundAction(int command) const;

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
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void makeMenus();
    void makeAccelerators();
    void regainKeyboard();

    CMekkDoc doc_;
    ViewWidget* view_;
    QMenu* fileMenu_ = nullptr;
    QMenu* soundMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* print_ = nullptr;
    QAction* printSetup_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* about_ = nullptr;
    QAction* sound_[4] = {};
    // How many moves and resizes the window system has reported.
    int placedByWindowSystem_ = 0;
};

} // namespace tess::app
