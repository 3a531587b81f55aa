#pragma once
// The window side of the loader for tests: every call is carried to the fake GUI thread and
// recorded there, as the main window would carry it to its widgets.
#include "FakeGuiThread.h"

#include "explorer/browser/BrowserWindow.h"
#include "support/RecordingReportSink.h"

#include <QStringList>
#include <memory>

namespace qbtest {

// What the window received; touched on the GUI thread only.
struct WindowRecord {
    QStringList log;
    qb::browser::xElement* current = nullptr;
    int currentIndex = 0;
    int listCount = -1;
    QString elementPane;
    QString objectPane;
    QString sqlText;
    bool quickViewEnabled = true;
    QStringList errorBoxes;
};

class RecordingWindow : public qb::browser::BrowserWindow {
public:
    explicit RecordingWindow(FakeGuiThread& gui) : m_gui(gui) {}

    // Read on the GUI thread.
    const WindowRecord& record() const { return m_record; }

    void setCurrentElement(qb::browser::xElement* element, int index) override
    {
        m_gui.call([=, this] {
            m_record.current = element;
            m_record.currentIndex = index;
            m_record.log << QStringLiteral("current %1").arg(index);
        });
    }
    void setListItemCount(int count) override
    {
        m_gui.call([=, this] {
            m_record.listCount = count;
            m_record.log << QStringLiteral("count %1").arg(count);
        });
    }
    void setElementPaneText(const QString& text) override
    {
        m_gui.call([=, this] { m_record.elementPane = text; m_record.log << "element pane"; });
    }
    void setObjectCountPaneText(const QString& text) override
    {
        m_gui.call([=, this] { m_record.objectPane = text; m_record.log << "object pane"; });
    }
    void setSqlPaneText(const QString& text) override
    {
        m_gui.call([=, this] { m_record.sqlText = text; m_record.log << "sql pane"; });
    }
    void enableQuickViewBar(bool enable) override
    {
        m_gui.call([=, this] {
            m_record.quickViewEnabled = enable;
            m_record.log << (enable ? "quick view on" : "quick view off");
        });
    }
    void redrawList() override
    {
        m_gui.call([this] { m_record.log << "redraw"; });
    }
    void showErrorBox(const QString& title, const QString& text) override
    {
        m_gui.call([=, this] { m_record.errorBoxes << title + " / " + text; });
    }

private:
    FakeGuiThread& m_gui;
    WindowRecord m_record;
};

// The window's ReportSink, carried to the GUI thread like the window's other calls.
class GuiReportSink : public qb::ReportSink {
public:
    explicit GuiReportSink(FakeGuiThread& gui) : m_gui(gui) {}
    RecordingReportSink recorded;

    void setProgressRange(int a, int b) override { m_gui.call([=, this] { recorded.setProgressRange(a, b); }); }
    void setProgressPos(int pos) override { m_gui.call([=, this] { recorded.setProgressPos(pos); }); }
    void hideProgress() override { m_gui.call([this] { recorded.hideProgress(); }); }
    void postText(const QString& text, int pos) override { m_gui.call([=, this] { recorded.postText(text, pos); }); }
    void clearListColumns() override { m_gui.call([this] { recorded.clearListColumns(); }); }
    void addListColumn(const QString& text, int index, int width, int format) override
    {
        m_gui.call([=, this] { recorded.addListColumn(text, index, width, format); });
    }
    void setColumnWidth(int index, int width) override { m_gui.call([=, this] { recorded.setColumnWidth(index, width); }); }
    void addError(const QString& text) override { m_gui.call([=, this] { recorded.addError(text); }); }
    void addInformation(const QString& text) override { m_gui.call([=, this] { recorded.addInformation(text); }); }

private:
    FakeGuiThread& m_gui;
};

} // namespace qbtest
