#include "console/ui/ConsoleWindow.h"

#include "platform/StringTable.h"
#include "common/ui/RecentMenu.h"
#include "console/settings/ConsoleSettingsStore.h"
#include "console/ui/CategoryFormats.h"
#include "console/ui/ConsoleCommandIds.h"
#include "console/ui/ConsoleCommands.h"
#include "console/ui/ConsolePrompts.h"
#include "console/ui/ResultChannel.h"
#include "console/ui/ResultView.h"
#include "console/ui/SqlEditor.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QInputMethod>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

// Q_INIT_RESOURCE must be called outside any namespace; the pictures live in a static library.
static void initConsoleResources()
{
    Q_INIT_RESOURCE(tessmar);
}

namespace qb::console::ui {
namespace {

// The recent connections are the twelfth item of the File menu.
constexpr int kFileMenuCommands[] = {kCmdNewDataLink, kCmdNewConnectionString, kCmdOpenConnection, kCmdCloseConnection, 0,
                                     kCmdNewSqlFile,  kCmdOpenSqlFile,         kCmdSaveSqlFile,    kCmdSaveSqlFileAs,   kCmdCloseSqlFile,
                                     0};
constexpr int kEditMenuCommands[] = {kCmdUndo,   kCmdRedo,  0, kCmdCut, kCmdCopy, kCmdPaste, kCmdDelete, 0, kCmdSelectAll,
                                     kCmdClear, 0,         kCmdFind};
constexpr int kToolbarCommands[] = {kCmdNewDataLink, kCmdNewConnectionString, kCmdOpenConnection, kCmdCloseConnection, 0,
                                    kCmdNewSqlFile,  kCmdOpenSqlFile,         kCmdSaveSqlFile,    0,                   kCmdCut,
                                    kCmdCopy,        kCmdPaste,               kCmdFind,           0,                   kCmdExecute,
                                    kCmdStop,        0,                       kCmdSettings};

QIcon commandIcon(const QStyle* style, const char* name)
{
    if (!name)
        return QIcon();
    const QString n = QString::fromLatin1(name);
    if (!n.startsWith(QStringLiteral("std:")))
        return QIcon(QStringLiteral(":/icons/%1.svg").arg(n));
    static const std::map<QString, std::pair<const char*, QStyle::StandardPixmap>> standard = {
        {QStringLiteral("std:new"), {"document-new", QStyle::SP_FileIcon}},
        {QStringLiteral("std:open"), {"document-open", QStyle::SP_DialogOpenButton}},
        {QStringLiteral("std:save"), {"document-save", QStyle::SP_DialogSaveButton}},
        {QStringLiteral("std:cut"), {"edit-cut", QStyle::SP_TrashIcon}},
        {QStringLiteral("std:copy"), {"edit-copy", QStyle::SP_FileDialogDetailedView}},
        {QStringLiteral("std:paste"), {"edit-paste", QStyle::SP_FileDialogContentsView}},
        {QStringLiteral("std:find"), {"edit-find", QStyle::SP_FileDialogContentsView}},
    };
    const auto it = standard.find(n);
    if (it == standard.end())
        return QIcon();
    return QIcon::fromTheme(QString::fromLatin1(it->second.first), style->standardIcon(it->second.second));
}

} // namespace

ConsoleWindow::ConsoleWindow(Options options)
    : m_options(std::move(options)),
      m_settings(ConsoleSettings::defaults()),
      m_connection(std::make_shared<WindowConnection>()),
      m_stop(std::make_shared<StopSignal>())
{
    initConsoleResources();
    m_prompts = m_options.prompts ? m_options.prompts : std::make_shared<WidgetConsolePrompts>(this);
    ConsoleSettingsStore(m_options.settingsRoot).load(m_settings);

    WindowConnection::Hooks hooks;
    hooks.closeConnection = [this] { return closeConnection(); };
    hooks.addToRecentList = [this](const QString& path) { m_recent.add(path); };
    hooks.afterConnect = [this] { afterConnect(); };
    m_connection->setHooks(std::move(hooks));

    createActions();
    createMenus();
    createToolbar();
    createStatusBar();
    createViews();
    m_channel = ResultChannel::create(this, this, this);

    m_recentMenu = std::make_unique<qb::ui::RecentMenu>(m_recentConnections, [this](int command) { openRecent(command); });
    m_recent.attachMenu(m_recentMenu.get());
    m_recent.read(m_options.settingsRoot);

    // The stored rectangle: the window's position (its frame's corner) and its size.
    move(m_settings.left, m_settings.top);
    resize(std::max(1, m_settings.right - m_settings.left), std::max(1, m_settings.bottom - m_settings.top));
    applySettings(m_settings);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusChanged(now); });
    connect(QGuiApplication::inputMethod(), &QInputMethod::localeChanged, this, &ConsoleWindow::updateLanguagePane);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ConsoleWindow::scheduleCommandUpdate);
    updateTitle();
    updateCommandStates();
    m_sql->setFocus();
}

ConsoleWindow::~ConsoleWindow()
{
    // Focus moves while the widgets go; that must not reach a half-destroyed window.
    QObject::disconnect(qApp, nullptr, this, nullptr);
    // A run that outlived the close (given up on after the wait) must not reach this window.
    m_channel->detach();
    m_recent.attachMenu(nullptr);
}

void ConsoleWindow::createActions()
{
    for (const ConsoleCommandSpec& command : consoleCommands()) {
        auto* a = new QAction(QString::fromUtf16(command.text), this);
        if (command.keys) {
            QList<QKeySequence> keys;
            for (const QString& k : QString::fromLatin1(command.keys).split(QStringLiteral("; ")))
                keys.append(QKeySequence(k));
            a->setShortcuts(keys);
        }
        if (command.help)
            a->setStatusTip(QString::fromUtf16(command.help));
        a->setIcon(commandIcon(style(), command.icon));
        a->setData(command.id);
        const int id = command.id;
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_actions[command.id] = a;
        addAction(a); // the keys work wherever the focus is in the window
    }
}

QAction* ConsoleWindow::action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void ConsoleWindow::createMenus()
{
    const auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id == 0)
                menu->addSeparator();
            else
                menu->addAction(action(id));
        }
    };
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    for (int id : kFileMenuCommands) {
        if (id == 0)
            m_fileMenu->addSeparator();
        else
            m_fileMenu->addAction(action(id));
    }
    m_recentConnections = m_fileMenu->addMenu(QStringLiteral("Recent connections"));
    auto* placeholder = m_recentConnections->addAction(QStringLiteral("(empty)"));
    placeholder->setData(kCmdRecentFirst);
    placeholder->setEnabled(false);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(action(kCmdExit));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    for (int id : kEditMenuCommands) {
        if (id == 0)
            edit->addSeparator();
        else
            edit->addAction(action(id));
    }
    connect(edit, &QMenu::aboutToShow, this, &ConsoleWindow::updateCommandStates);
    add(menuBar()->addMenu(QStringLiteral("&Query")), {kCmdExecute, kCmdStop});
    add(menuBar()->addMenu(QStringLiteral("&Tools")), {kCmdSettings});
    add(menuBar()->addMenu(QStringLiteral("&Help")), {kCmdAbout});
}

void ConsoleWindow::createToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Standard"));
    m_toolbar->setObjectName(QStringLiteral("band%1").arg(kToolbarBandId));
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setMovable(false);
    for (int id : kToolbarCommands) {
        if (id == 0)
            m_toolbar->addSeparator();
        else
            m_toolbar->addAction(action(id));
    }
}

void ConsoleWindow::createStatusBar()
{
    QStatusBar* bar = statusBar();
    auto* help = new QLabel(loadString(kTextIdleHelp), bar);
    bar->addWidget(help, 1);
    m_statusPanes.push_back(help);
    auto* language = new QLabel(bar);
    language->setMinimumWidth(language->fontMetrics().horizontalAdvance(QStringLiteral("English (United States)  ")));
    bar->addPermanentWidget(language);
    m_statusPanes.push_back(language);
    for (int id : {kTextRowPane, kTextColumnPane}) {
        auto* pane = new QLabel(bar);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(loadString(id).replace(QStringLiteral("%i"), QStringLiteral("00000"))));
        bar->addPermanentWidget(pane);
        m_statusPanes.push_back(pane);
    }
    m_progress = new QProgressBar(bar);
    m_progress->setRange(0, 100);
    m_progress->setMaximumWidth(160);
    m_progress->setTextVisible(false);
    m_progress->hide();
    bar->addPermanentWidget(m_progress);
    updateLanguagePane();
}

QLabel* ConsoleWindow::statusPane(int index) const
{
    return index >= 0 && index < int(m_statusPanes.size()) ? m_statusPanes[size_t(index)] : nullptr;
}

void ConsoleWindow::updateLanguagePane()
{
    const QLocale locale = QGuiApplication::inputMethod()->locale();
    m_statusPanes[1]->setText(QStringLiteral("%1 (%2)").arg(QLocale::languageToString(locale.language()),
                                                           QLocale::territoryToString(locale.territory())));
}

void ConsoleWindow::createViews()
{
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setChildrenCollapsible(false);
    m_sql = new SqlEditor(m_splitter);
    m_result = new ResultView(m_splitter);
    // Each pane keeps at least 100 pixels.
    m_sql->setMinimumHeight(100);
    m_result->setMinimumHeight(100);
    m_splitter->addWidget(m_sql);
    m_splitter->addWidget(m_result);
    setCentralWidget(m_splitter);
    m_sql->setReadOnly(true); // writable only while a SQL file is current

    // Both panes drive the caret panes and the command states.
    connect(m_sql, &QPlainTextEdit::cursorPositionChanged, this, &ConsoleWindow::updateCaretPanes);
    connect(m_sql, &QPlainTextEdit::selectionChanged, this, &ConsoleWindow::scheduleCommandUpdate);
    connect(m_sql, &QPlainTextEdit::undoAvailable, this, &ConsoleWindow::scheduleCommandUpdate);
    connect(m_sql, &QPlainTextEdit::redoAvailable, this, &ConsoleWindow::scheduleCommandUpdate);
    connect(m_sql, &QPlainTextEdit::textChanged, this, &ConsoleWindow::scheduleCommandUpdate);
    connect(m_sql->document(), &QTextDocument::modificationChanged, this, &ConsoleWindow::scheduleCommandUpdate);
    connect(m_result, &ResultView::cursorPositionChanged, this, &ConsoleWindow::updateCaretPanes);
    connect(m_result, &ResultView::selectionChanged, this, &ConsoleWindow::scheduleCommandUpdate);
    connect(m_result, &ResultView::textChanged, this, &ConsoleWindow::scheduleCommandUpdate);
}

void ConsoleWindow::focusChanged(QWidget* now)
{
    for (QWidget* w = now; w; w = w->parentWidget()) {
        if (w == m_sql || w == m_result) {
            m_lastTarget = w == m_sql ? static_cast<TextPane*>(m_sql) : static_cast<TextPane*>(m_result);
            updateCaretPanes();
            scheduleCommandUpdate();
            return;
        }
    }
}

TextPane& ConsoleWindow::targetWindow() const
{
    if (m_lastTarget)
        return *m_lastTarget;
    return *m_result;
}

void ConsoleWindow::updateCaretPanes()
{
    const auto [row, column] = targetWindow().caretRowColumn(m_settings.sqlWindow.tabCount);
    m_statusPanes[2]->setText(loadString(kTextRowPane).replace(QStringLiteral("%i"), QString::number(row)));
    m_statusPanes[3]->setText(loadString(kTextColumnPane).replace(QStringLiteral("%i"), QString::number(column)));
}

void ConsoleWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_layoutApplied)
        return;
    m_layoutApplied = true;
    // At the first showing, when the splitter knows its size.
    QTimer::singleShot(0, this, &ConsoleWindow::applyLayout);
    if (m_settings.fullWindow)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void ConsoleWindow::applyLayout()
{
    const int total = m_splitter->height() - m_splitter->handleWidth();
    if (total <= 0)
        return;
    int top = m_settings.splitterPos == kSplitterNotSet ? total / 2 : int(std::min<uint32_t>(m_settings.splitterPos, uint32_t(total)));
    top = std::clamp(top, std::min(100, total / 2), std::max(total - 100, total / 2));
    m_splitter->setSizes({top, total - top});
}

void ConsoleWindow::scheduleCommandUpdate()
{
    if (m_updatePosted)
        return;
    m_updatePosted = true;
    QTimer::singleShot(0, this, [this] {
        m_updatePosted = false;
        updateCommandStates();
    });
}

void ConsoleWindow::updateCommandStates()
{
    const bool connected = isConnected();
    const bool running = m_runActive;
    const bool hasFile = !m_sqlPath.isEmpty();
    const bool modified = isModified();
    const auto set = [this](int id, bool on) {
        if (QAction* a = action(id))
            a->setEnabled(on);
    };
    set(kCmdNewDataLink, !running);
    set(kCmdNewConnectionString, !running);
    set(kCmdOpenConnection, !running);
    set(kCmdCloseConnection, connected && !running);
    m_recentConnections->setEnabled(!running);
    set(kCmdNewSqlFile, connected);
    set(kCmdOpenSqlFile, connected);
    set(kCmdSaveSqlFile, connected && hasFile && modified);
    set(kCmdSaveSqlFileAs, connected && hasFile && modified);
    set(kCmdCloseSqlFile, connected && hasFile);
    set(kCmdExecute, connected && !running);
    set(kCmdStop, connected && running);

    TextPane& target = targetWindow();
    // Only the SQL window edits, and only while a file is open in it.
    const QPlainTextEdit* editor = target.editor();
    const bool writable = editor && !editor->isReadOnly();
    const bool selection = target.hasSelection();
    const bool hasText = target.hasText();
    set(kCmdUndo, writable && editor->document()->isUndoAvailable());
    set(kCmdRedo, writable && editor->document()->isRedoAvailable());
    set(kCmdCut, writable && selection);
    set(kCmdCopy, selection);
    set(kCmdPaste, writable && editor->canPaste());
    set(kCmdDelete, writable && selection);
    set(kCmdSelectAll, hasText);
    set(kCmdClear, hasText && target.isClearable());
    set(kCmdFind, hasText);
}

void ConsoleWindow::updateTitle()
{
    QString title;
    const QString name = m_connection->connectionName();
    if (!name.isEmpty()) {
        const qsizetype slash = name.lastIndexOf(u'/');
        title = (slash < 0 || slash == name.size() - 1 ? name : name.mid(slash + 1)) + QStringLiteral(" - ");
    }
    title += loadString(kTextProgramName);
    if (!m_sqlPath.isEmpty())
        title += QStringLiteral(" - [") + m_sqlPath + QStringLiteral("]");
    setWindowTitle(title);
}

void ConsoleWindow::applySettings(const ConsoleSettings& settings)
{
    m_settings = settings;
    const QFont tabFont = categoryFont(m_settings.categories[kSqlKeywords]);
    m_sql->setColouring({m_settings.categories[0], m_settings.categories[1], m_settings.categories[2],
                         m_settings.categories[3]},
                        m_settings.keywords);
    m_sql->applyEditorOptions(m_settings.sqlWindow, tabFont);
    m_sql->setUndoSize(m_settings.sqlWindow.undoSize);
    m_result->setFont(categoryFont(m_settings.categories[kResultOther]));
    m_result->applyEditorOptions(m_settings.resultWindow, tabFont);
    updateCaretPanes();
}

long ConsoleWindow::saveSettings()
{
    // A maximised window keeps its normal rectangle for the next start.
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
    m_settings.fullWindow = isMaximized();
    m_settings.left = normal.left();
    m_settings.top = normal.top();
    m_settings.right = normal.left() + normal.width();
    m_settings.bottom = normal.top() + normal.height();
    const QList<int> sizes = m_splitter->sizes();
    if (!sizes.isEmpty() && m_layoutApplied)
        m_settings.splitterPos = uint32_t(sizes.first());
    // One band: its width, no line break, first place.
    m_settings.toolbarBand = uint32_t(std::min(m_toolbar->width(), 0xFFFF));
    m_settings.hasToolbarBand = true;
    const long settingsResult = ConsoleSettingsStore(m_options.settingsRoot).save(m_settings);
    const long recentResult = m_recent.write(m_options.settingsRoot);
    return settingsResult != 0 ? settingsResult : recentResult;
}

void ConsoleWindow::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    // The file first: "Cancel" there keeps the window, the run and the connection.
    if (!closeSqlFile()) {
        event->ignore();
        return;
    }
    m_closing = true;
    stopRun();
    saveSettings();
    if (m_find)
        m_find->close();
    m_connection->close();
    event->accept();
}

} // namespace qb::console::ui
