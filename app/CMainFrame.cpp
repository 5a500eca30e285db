// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

#include "app/CMainFrame.h"

#include "app/Accelerators.h"
#include "app/AppIcon.h"
#include "app/CAboutDlg.h"
#include "app/TitleBar.h"
#include "app/WaylandDesktop.h"
#include "game/CMekkView.h"
#include "game/WatchedGame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace tess::app {

namespace {

// Handles events until `done` holds, for at most `ms` milliseconds. Looks again after every
// batch of events, so that the wait ends the moment the window system answers, not at the
// next tick of a timer; the timer only bounds a wait in which no event comes at all.
template <typename Done> void waitUntil(Done done, int ms) {
    QElapsedTimer waited;
    waited.start();
    QTimer tick;
    tick.start(10);
    while (!done() && waited.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

constexpr int kSoundCommands[4] = {kCmdSoundOn, kCmdSoundOff, kCmdNotesToEnd, kCmdCutNotesShort};
constexpr const char* kSoundTexts[4] = {"Turn Sound On", "Turn Sound Off", "Play Notes To End",
                                        "Cut Notes Short"};

// The shapes of the Watch a Perfect Game submenu after its first item, the current shape.
constexpr int kWatchShapes[5] = {0, 4, 6, 8, 10};
constexpr const char* kWatchTexts[5] = {"&Current Shape\tF2", "&Square", "&Hexagon", "&Octagon",
                                        "&Decagon"};
// How often a watched game looks again whether the menu or dialog that holds it has closed.
constexpr int kWatchWaitMs = 50;

// The file the player picks in Qt's own file dialog, which offers every file; empty for none.
QString chooseFile(QWidget* parent, const QString& title, QFileDialog::AcceptMode accept,
                   QFileDialog::FileMode mode, const QString& selected = {}) {
    QFileDialog dialog(parent, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(accept);
    dialog.setFileMode(mode);
    dialog.setNameFilter(QStringLiteral("All Files (*)"));
    if (!selected.isEmpty()) dialog.selectFile(selected);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

CMainFrame::CMainFrame(SoundDevice* audio, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      watchTimer_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Mekk"));
    view_ = new ViewWidget(audio, this);
    // The icon once the window shows the game: reading its pictures is work the first paint
    // need not wait for, and the window manager takes an icon given at any time.
    connect(
        view_, &ViewWidget::firstPainted, this, [this] { setWindowIcon(appIcon()); },
        Qt::ConnectionType(Qt::SingleShotConnection | Qt::QueuedConnection));
    watched_ = std::make_unique<WatchedGame>(view_->view());
    setCentralWidget(view_);
    makeMenus();
    makeAccelerators();
    watchTimer_->setSingleShot(true);
    connect(watchTimer_, &QTimer::timeout, this, &CMainFrame::watchStep);
    // The player's clicks and keys pass here first, so that a watched game is not disturbed.
    view_->installEventFilter(this);
    view_->setFocus();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::soundAction(int command) const {
    for (int i = 0; i < 4; ++i)
        if (kSoundCommands[i] == command) return sound_[i];
    return nullptr;
}

void CMainFrame::makeMenus() {
    QMenuBar* bar = menuBar();

    fileMenu_ = bar->addMenu(QStringLiteral("&File"));
    // The menu begins with a separator: keep it visible.
    fileMenu_->setSeparatorsCollapsible(false);
    fileMenu_->addSeparator();
    // A separator draws its line on the top row of its own two. Fusion, Qt's style here,
    // gives a menu neither a panel width nor a vertical margin, yet draws a one-pixel frame
    // round it: the first item starts on the frame's row, and a leading separator's line
    // falls on the frame and is lost in it. Leave the frame's row and two of the menu's
    // background above the first item, as an item leaves above the second separator.
    const QStyle* style = fileMenu_->style();
    const int room = style->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, fileMenu_) +
                     style->pixelMetric(QStyle::PM_MenuVMargin, nullptr, fileMenu_);
    constexpr int kRoomAboveLeadingSeparator = 3;
    if (room < kRoomAboveLeadingSeparator)
        fileMenu_->setContentsMargins(0, kRoomAboveLeadingSeparator - room, 0, 0);
    print_ = fileMenu_->addAction(QStringLiteral("&Print...\tCtrl+P"));
    printSetup_ = fileMenu_->addAction(QStringLiteral("P&rint Setup..."));
    fileMenu_->addSeparator();
    exit_ = fileMenu_->addAction(QStringLiteral("E&xit"));
    // Printing from the menu is switched off: both items stay greyed, so they run nothing.
    connect(exit_, &QAction::triggered, this, &QWidget::close);

    soundMenu_ = bar->addMenu(QStringLiteral("Sound"));
    for (int i = 0; i < 4; ++i) {
        sound_[i] = soundMenu_->addAction(QString::fromLatin1(kSoundTexts[i]));
        const int command = kSoundCommands[i];
        connect(sound_[i], &QAction::triggered, this, [this, command] {
            updateActions();
            if (soundAction(command)->isEnabled()) view().OnCommand(command);
            updateActions();
        });
    }

    helpMenu_ = bar->addMenu(QStringLiteral("&Help"));
    watchMenu_ = helpMenu_->addMenu(QStringLiteral("&Watch a Perfect Game"));
    for (int i = 0; i < 5; ++i) {
        watch_[i] = watchMenu_->addAction(QString::fromLatin1(kWatchTexts[i]));
        const int shape = kWatchShapes[i];
        connect(watch_[i], &QAction::triggered, this, [this, shape] { watchPerfectGame(shape); });
        if (i == 0) watchMenu_->addSeparator();
    }
    helpMenu_->addSeparator();
    QAction* about = helpMenu_->addAction(QStringLiteral("&About Tessarin..."));
    connect(about, &QAction::triggered, this, &CMainFrame::appAbout);

    for (QMenu* menu : {fileMenu_, soundMenu_, helpMenu_}) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateActions);
        menu->installEventFilter(this);
    }
    updateActions();
}

void CMainFrame::makeAccelerators() {
    // Always-enabled shortcuts take every combination of the table, whether or not its
    // command runs, so none of them reaches the view (Ctrl+P never plays the note of P).
    for (const QKeySequence& keys : acceleratorTable()) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, keys] { runAccelerator(keys); });
    }
    connect(view_, &ViewWidget::shortcutByPosition, this, &CMainFrame::runShortcutByPosition);
    // F2 watches a perfect game of the current shape, as the menu item shows, when the item
    // is not greyed.
    auto* watchKey = new QShortcut(QKeySequence(Qt::Key_F2), this);
    watchKey->setContext(Qt::WindowShortcut);
    connect(watchKey, &QShortcut::activated, this, [this] {
        updateActions();
        if (watch_[0]->isEnabled()) watch_[0]->trigger();
    });
}

void CMainFrame::runShortcutByPosition(QKeyCombination keys) {
    const QKeySequence pressed(keys);
    if (runAccelerator(pressed)) return;
    if (keys.keyboardModifiers() != Qt::AltModifier) return;
    for (QMenu* menu : {fileMenu_, soundMenu_, helpMenu_})
        if (QKeySequence::mnemonic(menu->title()) == pressed) {
            menuBar()->setActiveAction(menu->menuAction());
            return;
        }
}

bool CMainFrame::menuKeyFilter(QObject* watched, QEvent* event) {
    // An open menu finds the item of a key by the character typed, which under a layout of
    // other letters is none of its underlined ones: give it the letter at the key's place.
    if (event->type() == QEvent::KeyPress && view_->lettersByPosition() &&
        qobject_cast<QMenu*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const int letter = ViewWidget::letterForNonLatinKey(*key)) {
            QKeyEvent latin(QEvent::KeyPress, letter, key->modifiers(),
                            QString(QChar(letter).toLower()), key->isAutoRepeat());
            QCoreApplication::sendEvent(watched, &latin);
            return true;
        }
    }
    return false;
}

bool CMainFrame::runAccelerator(const QKeySequence& keys) {
    updateActions();
    const auto& table = acceleratorTable();
    if (keys == table[0]) {
        fileNew();
    } else if (keys == table[1]) {
        fileOpen();
    } else if (keys == table[2]) {
        fileSave();
    } else if (keys == table[3]) {
        // Print: greyed while printing is switched off, which it always is.
        if (print_->isEnabled()) print_->trigger();
    } else {
        // The rest of the table, the Edit combinations and the pane keys, has no command in
        // this game.
        return std::find(table.begin(), table.end(), keys) != table.end();
    }
    return true;
}

void CMainFrame::updateActions() {
    const bool printing = view().printSwitch == "on";
    print_->setEnabled(printing);
    printSetup_->setEnabled(printing);
    for (int i = 0; i < 4; ++i)
        sound_[i]->setEnabled(view().isCommandEnabled(kSoundCommands[i]));
    for (QAction* watch : watch_)
        watch->setEnabled(!playersGameUnderWay());
}

bool CMainFrame::playersGameUnderWay() const {
    const CMekkView& v = view();
    return v.currentPage == kGamePage && v.gamePhase != kFinished && !v.watched;
}

void CMainFrame::placeOnScreen() {
    // The widget's screen, or the primary screen before the window is on one.
    QScreen* screen = this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // Placed first, then maximised: a window that has no size of its own yet is given its
    // preferred one as it is maximised, which lays out the menu bar and the view for nothing.
    setGeometry(area);
    setFixedSize(area.size());
    setWindowState(windowState() | Qt::WindowMaximized);
}

QRect CMainFrame::fittedArea() const {
    QScreen* screen = this->screen();
    const QWindow* window = windowHandle();
    if (!screen || !window) return {};
    return screen->availableGeometry().marginsRemoved(window->frameMargins());
}

void CMainFrame::showMaximisedOnScreen() {
    // The game's title from the moment the window maps, not the frame's until the first paint.
    setWindowTitle(QString::fromStdString(CMekkView::windowTitleNow()));
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        showOnWayland();
        return;
    }
    placeOnScreen();
    // Where the window system keeps the place and size asked for, the window stands at its
    // final place when it is first exposed: the game paints in that first paint event, and
    // the window's first picture is the game's. Otherwise the window is fitted below first.
    view_->setPlaced([this] {
        const QWindow* window = windowHandle();
        return window && window->isExposed() && fittedArea() == geometry();
    });
    show();
    // Asked for now, the activation is made as the window is mapped, before the window system
    // has the window's first picture to draw; asked for once it is exposed, it would wait for
    // that picture to be drawn.
    activateWindow();
    // A window manager frames a window before it puts it on the screen: once the window is
    // exposed its frame is known (a moment at most; at once where no manager runs).
    waitUntil([this] { return windowHandle() && windowHandle()->isExposed(); }, 2000);
    // The window is fitted below if need be: no paint until it is done, for the window system
    // may not have put the window where it was asked yet.
    view_->setPlaced([] { return false; });
    // The whole window, its frame included, fills the available area: the client area is
    // what the frame leaves of it. A manager may change the frame as it takes the new size
    // (a maximised window loses its borders, one that sizes itself gets them back): fit
    // again while the frame changes.
    bool replaced = false;
    for (int fitting = 0; fitting < 3; ++fitting) {
        const QRect area = fittedArea();
        if (!area.isValid()) break;
        setFixedSize(area.size());
        if (area == geometry()) break;
        const int placedBefore = placedByWindowSystem_;
        setGeometry(area);
        replaced = true;
        // The first paint waits until the window system has put the window there.
        waitUntil([&] { return placedByWindowSystem_ != placedBefore && geometry() == area; },
                  1000);
    }
    // A compositing manager (mutter) may leave out the first picture flushed just after it
    // re-placed a window, and show the later ones: show the canvas once more a moment after
    // the first paint.
    if (replaced) {
        const auto showAgain = [this] {
            for (int ms : {250, 1000})
                QTimer::singleShot(ms, view_, qOverload<>(&QWidget::update));
        };
        if (view_->firstPaintDone())
            showAgain();
        else
            connect(view_, &ViewWidget::firstPainted, this, showAgain, Qt::SingleShotConnection);
    }
    // Placed as well as the window system allows: the first paint is due now, wherever the
    // window stands.
    view_->setPlaced({});
    if (!view_->firstPaintDone()) view_->update();
    QCoreApplication::processEvents();
    // Without a window manager the window gets the keyboard only when activated.
    if (!isActiveWindow()) activateWindow();
    raise();
    view_->setFocus();
}

void CMainFrame::waitForFirstPaint() {
    waitUntil([this] { return view_->firstPaintDone(); }, 5000);
}

bool CMainFrame::sizedByCompositor() const {
    const QWindow* window = windowHandle();
    return window && window->isExposed() && (isMaximized() || placedByWindowSystem_ > 0);
}

void CMainFrame::showOnWayland() {
    // Where the compositor leaves title bars to its clients, Qt's own would offer minimise,
    // maximise and close buttons and a border to size the window by: the window has none of
    // Qt's, and a title bar of the game's own.
    if (!compositorDecoratesWindows()) {
        setWindowFlag(Qt::FramelessWindowHint);
        new TitleBar(this);
    }
    // A compositor sizes a maximised window itself. The window starts as large as the screen,
    // so that it never shows a small picture of its own size, even where the compositor leaves
    // the first size to it (sway); the game paints once the compositor has given its size.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());
    placedByWindowSystem_ = 0;
    view_->setPlaced([this] { return sizedByCompositor(); });
    setWindowState(Qt::WindowMaximized);
    show();
    waitUntil([this] { return sizedByCompositor(); }, 2000);
    // From now on the window keeps that size: its least and largest sizes are the same, so the
    // compositor offers no resize, and a restore cannot shrink it.
    setFixedSize(size());
    regainKeyboard();
    view_->setPlaced({});
    if (!view_->firstPaintDone()) view_->update();
}

void CMainFrame::fileNew() {
    // The document holds nothing: New re-initialises it and the view repaints; the game
    // itself is untouched.
    doc_.onNewDocument();
    view().paint();
}

void CMainFrame::regainKeyboard() {
    // The window and its view take the keyboard: without a window manager nobody gives it back
    // when a dialog closes.
    activateWindow();
    view_->setFocus();
}

void CMainFrame::fileOpen() {
    const auto back = qScopeGuard([this] { regainKeyboard(); });
    const QString path = chooseFile(this, QStringLiteral("Open"), QFileDialog::AcceptOpen,
                                    QFileDialog::ExistingFile);
    if (path.isEmpty()) return;
    if (!doc_.openDocument(QFile::encodeName(path).toStdString())) {
        showMessage(this, CMekkDoc::cannotFindMessage(path));
        return;
    }
    view().paint();
}

void CMainFrame::fileSave() {
    const auto back = qScopeGuard([this] { regainKeyboard(); });
    // A file this document wrote holds nothing, so saving into it again loses nothing. A
    // file that was opened is never overwritten without the player choosing it in Save As.
    QString path = doc_.fileIsOurs() ? doc_.pathName() : QString();
    if (path.isEmpty())
        path = chooseFile(this, QStringLiteral("Save As"), QFileDialog::AcceptSave,
                          QFileDialog::AnyFile, doc_.pathName());
    if (path.isEmpty()) return;
    if (!doc_.saveDocument(path)) showMessage(this, QStringLiteral("Failed to save document."));
}

void CMainFrame::appAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
    regainKeyboard();
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    if (event->spontaneous()) ++placedByWindowSystem_;
    QMainWindow::moveEvent(event);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    if (event->spontaneous()) ++placedByWindowSystem_;
    QMainWindow::resizeEvent(event);
}

QAction* CMainFrame::watchAction(int vertexCount) const {
    for (int i = 0; i < 5; ++i)
        if (kWatchShapes[i] == vertexCount) return watch_[i];
    return nullptr;
}

bool CMainFrame::watchingPerfectGame() const {
    return watched_->playing();
}

void CMainFrame::watchPerfectGame(int vertexCount) {
    // A game of the player's own is never thrown away for one to watch.
    if (playersGameUnderWay()) return;
    watchTimer_->stop();
    const int beat = watched_->start(vertexCount != 0 ? vertexCount : view().vertexCount);
    view_->update();
    if (beat != WatchedGame::kEnded) watchTimer_->start(beat);
}

void CMainFrame::stopWatching() {
    watchTimer_->stop();
    watched_->stop();
    view_->update();
}

void CMainFrame::watchStep() {
    if (!watched_->playing()) return;
    // An open menu or dialog holds the game where it stands until it closes.
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) {
        watchTimer_->start(kWatchWaitMs);
        return;
    }
    // A beat runs from the start of one step to the start of the next: a note played to its
    // end inside the step counts towards it.
    QElapsedTimer clock;
    clock.start();
    const int beat = watched_->step();
    view_->update();
    if (beat == WatchedGame::kEnded) return;
    watchTimer_->start(static_cast<int>(std::max<qint64>(0, beat - clock.elapsed())));
}

bool CMainFrame::eventFilter(QObject* object, QEvent* event) {
    if (object == view_ && watched_ && watched_->playing()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            return true;
        case QEvent::KeyPress: {
            // Escape or Home leaves the watched game for the home page; other keys do nothing.
            const auto* press = static_cast<const QKeyEvent*>(event);
            const bool leave = press->key() == Qt::Key_Escape || press->key() == Qt::Key_Home;
            if (leave && !(press->modifiers() & Qt::AltModifier)) stopWatching();
            return true;
        }
        default:
            break;
        }
    }
    if (menuKeyFilter(object, event)) return true;
    return QMainWindow::eventFilter(object, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The document is never modified: closing asks nothing and ends the program, a watched
    // game with it.
    watchTimer_->stop();
    event->accept();
}

} // namespace tess::app
