// Timing program for handing a long value to the hex viewer (bench/run-blob.sh runs it).
//   blob_viewer_bench read CONNECTION SQL     execute SQL and read column 1 of its first row whole
//                                             through the provider's stream: milliseconds
//   blob_viewer_bench read-memory CONNECTION SQL   the same: the peak resident memory it added, kB
//   blob_viewer_bench open CONNECTION SQL     load SQL as the data list does (not timed), then what
//                                             Enter and choosing "Binary viewer" do: the value
//                                             handed off, the menu tested, the hex view shown and
//                                             painted: milliseconds
//   blob_viewer_bench memory CONNECTION SQL   the same, then the peak resident memory the open
//                                             added above the window's own: kB
//   blob_viewer_bench scroll CONNECTION SQL   the same, then Ctrl+End and Ctrl+Home in the view,
//                                             each with its repaint: the slower one in milliseconds
//   blob_viewer_bench load-memory CONNECTION SQL   the peak resident memory the load of the data
//                                             list added (the window's own share), kB
// The value is the last column of the first row. SQL of the form "table:NAME" loads the table NAME as opening its element does (the plain scan),
// any other as SQL the user typed.
// The viewer is bryndle.blob from plugins/ beside this program, as qorvex loads it.
#include "bench/BenchSupport.h"
#include "explorer/browser/ConsoleReportSink.h"
#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/TableData.h"
#include "explorer/plugins/BlobStorage.h"
#include "explorer/plugins/PluginHost.h"
#include "explorer/plugins/ui/PluginStartup.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;
using namespace qb;

long residentKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return -1;
}

// Forgets the peak so far: VmHWM starts again from the current resident size.
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Milliseconds, or with `memory` the peak resident kB the read added.
double readAlone(const QString& connection, const QString& sql, bool memory)
{
    auto source = data::createDataSource(connection);
    source->initialize();
    auto session = source->createSession();
    const long before = residentKb("VmRSS:");
    resetPeak();
    const auto start = Clock::now();
    auto rowset = session->execute(sql);
    data::Binding b;
    b.ordinal = 1;
    b.type = data::DBTYPE_IUNKNOWN;
    b.valueOffset = 0;
    b.lengthOffset = 8;
    b.statusOffset = 12;
    rowset->setBindings({b});
    if (!rowset->next())
        throw std::runtime_error("no row");
    std::byte row[16] = {};
    rowset->getData(row);
    data::SequentialStream* stream = nullptr;
    std::memcpy(&stream, row, sizeof stream);
    if (!stream)
        throw std::runtime_error("no stream");
    static char block[65536];
    size_t total = 0;
    while (const size_t n = stream->read(block, sizeof block))
        total += n;
    stream->release();
    const double ms = qb::bench::msSince(start);
    if (total == 0)
        throw std::runtime_error("an empty value");
    return memory ? double(residentKb("VmHWM:") - before) : ms;
}

// Runs `whenPainted` right after the hex view's first paint, inside the modal dialog.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<void(QAbstractScrollArea*)> then) : m_then(std::move(then)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_done || event->type() != QEvent::Paint)
            return false;
        auto* area = watched->parent() ? qobject_cast<QAbstractScrollArea*>(watched->parent()) : nullptr;
        if (!area || area->objectName() != QStringLiteral("CHexEditBase") || area->viewport() != watched)
            return false;
        m_done = true;
        static_cast<QWidget*>(watched)->removeEventFilter(this);
        QCoreApplication::sendEvent(watched, event); // painted now, not after the filter
        m_then(area);
        return true;
    }

private:
    std::function<void(QAbstractScrollArea*)> m_then;
    bool m_done = false;
};

double repaintAfterKey(QAbstractScrollArea* area, int key)
{
    const auto start = Clock::now();
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(area, &press);
    area->viewport()->repaint();
    return qb::bench::msSince(start);
}

int open(const std::string& mode, const QString& connection, const QString& sql)
{
    auto source = data::createDataSource(connection);
    source->initialize();
    auto session = source->createSession();
    ConsoleReportSink sink("blob_viewer_bench");
    data::TableData table;
    const long beforeLoad = residentKb("VmRSS:");
    resetPeak();
    const QString tablePrefix = QStringLiteral("table:");
    const data::TableData::LoadResult loaded =
        sql.startsWith(tablePrefix) ? table.loadObject(session, {QString(), sql.mid(tablePrefix.size())}, false, sink)
                                    : table.loadUserSql(session, sql, false, sink);
    if (loaded != data::TableData::LoadResult::Loaded)
        throw std::runtime_error("the load failed");
    if (mode == "load-memory") {
        std::printf("%ld\n", residentKb("VmHWM:") - beforeLoad);
        return 0;
    }
    plugins::BlobStorage storage(table, sink);
    plugins::startPlugins();
    plugins::PluginHost* host = plugins::PluginHost::instance();
    if (plugins::PluginHost::count() < 2)
        throw std::runtime_error("bryndle.blob is not in " + plugins::pluginsFolder().toStdString());
    QWidget window;
    window.resize(800, 600);
    window.show();
    QCoreApplication::processEvents();

    double result = 0;
    const long before = residentKb("VmRSS:");
    resetPeak();
    const auto start = Clock::now();
    FirstPaint painted([&](QAbstractScrollArea* area) {
        result = qb::bench::msSince(start);
        // After this paint has ended: a repaint inside it would be refused.
        QTimer::singleShot(0, area, [&, area] {
            if (mode == "scroll")
                result = std::max(repaintAfterKey(area, Qt::Key_End), repaintAfterKey(area, Qt::Key_Home));
            static_cast<QDialog*>(area->window())->accept();
        });
    });
    qApp->installEventFilter(&painted);
    std::unique_ptr<plugins::PluginMenu> menu = host->buildMenu(storage, 0, table.columnCount()); // the value is the last column
    if (!menu)
        throw std::runtime_error("no menu for the cell");
    int bryndle = 0;
    for (const auto& item : menu->items())
        if (item.text == QStringLiteral("Binary viewer"))
            bryndle = item.id;
    menu->run(bryndle, &window);
    qApp->removeEventFilter(&painted);
    if (mode == "memory")
        result = double(residentKb("VmHWM:") - before);
    menu.reset();
    plugins::stopPlugins();
    if (mode == "memory")
        std::printf("%.0f\n", result);
    else
        qb::bench::printMs(result);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return qb::bench::runMode(argc, argv, 3, "read|read-memory|open|memory|scroll|load-memory CONNECTION SQL", [&](const std::string& mode) -> std::optional<int> {
        const QString connection = QString::fromUtf8(argv[2]);
        const QString sql = QString::fromUtf8(argv[3]);
        if (mode == "read") {
            qb::bench::printMs(readAlone(connection, sql, false));
            return 0;
        }
        if (mode == "read-memory") {
            std::printf("%.0f\n", readAlone(connection, sql, true));
            return 0;
        }
        if (mode == "open" || mode == "memory" || mode == "scroll" || mode == "load-memory")
            return open(mode, connection, sql);
        return std::nullopt;
    });
}
