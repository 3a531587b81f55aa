#pragma once
// A main window on a real database, driven as a user would: the real loader thread, keys and
// clicks through Qt Test, a private registry folder per test. Waits are on conditions, never on
// time alone.
#include "dataaccess/TableData.h"
#include "explorer/browser/LoaderThread.h"
#include "explorer/browser/xElement.h"
#include "explorer/ui/DataListModel.h"
#include "explorer/ui/DataListView.h"
#include "explorer/ui/MainWindow.h"
#include "support/Backends.h"
#include "support/WaitUntil.h"
#include "support/TempDir.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace qbtest {

// Runs `act` on the next popup or modal widget of type T once it is up: the call that opens it
// blocks the test until it closes, so the act is queued first.
template <class T>
void whenUp(std::function<void(T*)> act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        QWidget* up = QApplication::activePopupWidget();
        if (!up)
            up = QApplication::activeModalWidget();
        if (T* widget = qobject_cast<T*>(up)) {
            poll->deleteLater();
            poll->stop();
            act(widget);
        }
    });
    poll->start(5);
}

class WindowFixture : public ::testing::Test {
protected:
    std::unique_ptr<qb::ui::MainWindow> openWindow(qb::ui::MainWindowOptions options = {})
    {
        auto window = std::make_unique<qb::ui::MainWindow>(options);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        m_listTester = std::make_unique<QAbstractItemModelTester>(&window->dataList().model(),
                                                                  QAbstractItemModelTester::FailureReportingMode::Fatal);
        return window;
    }

    // The job has ended and everything it posted has arrived.
    static void waitIdle(qb::ui::MainWindow& w)
    {
        ASSERT_TRUE(waitUntil([&] { return w.isIdle() && !w.loader().hasJob(); }));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    void connectTo(qb::ui::MainWindow& w, const QString& connectionString)
    {
        ASSERT_TRUE(w.openConnection(connectionString, false));
        waitIdle(w);
    }

    // Opens a table as a user does: the tables folder, then the table's item.
    void openTable(qb::ui::MainWindow& w, const QString& displayName)
    {
        showFolder(w, qb::browser::kTablesFolder);
        qb::ui::DataListModel& model = w.dataList().model();
        int row = -1;
        for (int r = 0; r < model.rowCount(); ++r)
            if (model.cellText(r, 0) == displayName)
                row = r;
        ASSERT_GE(row, 0) << displayName.toStdString();
        QTableView* view = w.dataList().tableView();
        const QRect cell = view->visualRect(model.index(row, 0));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        waitIdle(w);
        ASSERT_EQ(w.currentElementId(), qb::browser::kTableElement);
    }

    void showFolder(qb::ui::MainWindow& w, int folder)
    {
        qb::browser::ShowOrder order;
        order.jobCode = folder;
        w.loader().startShow(order);
        waitIdle(w);
    }

    QTableView* grid(qb::ui::MainWindow& w) { return w.dataList().tableView(); }

    void key(qb::ui::MainWindow& w, Qt::Key k, int times = 1, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(grid(w), k, modifiers);
    }

    // page × 100 + row of the cursor.
    static int absoluteRow(qb::ui::MainWindow& w)
    {
        const qb::data::TableData* table = w.loader().state().elements().element(qb::browser::kTableElement)->tableData();
        return table->currentPage() * 100 + w.dataList().cursorRow();
    }

    ScopedRegistryDir m_registry;
    TempDir m_scratch;
    std::unique_ptr<QAbstractItemModelTester> m_listTester;
};

} // namespace qbtest
