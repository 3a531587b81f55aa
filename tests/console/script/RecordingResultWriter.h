#pragma once
// A result window and run feedback that record what a script run writes, for comparing with the
// expected text. Optional hooks see each append on the run's thread, so a test can act at a
// chosen point the way the GUI thread would. Read the records only after the run has ended.
#include "console/script/ResultWriter.h"
#include "console/script/RunFeedback.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace qbtest {

class RecordingResultWriter : public qb::console::ResultWriter, public qb::console::RunFeedback {
public:
    struct Append {
        QString text;
        enum Kind { Results, Other, Plain } kind;
    };

    void appendResultText(const QString& text, qb::console::ResultTextCategory category) override
    {
        appends.push_back({text, category == qb::console::ResultTextCategory::ExecutionResults ? Append::Results
                                                                                                : Append::Other});
        if (onAppend)
            onAppend(text);
    }
    void appendPlainText(const QString& text) override
    {
        appends.push_back({text, Append::Plain});
        if (onAppend)
            onAppend(text);
        if (onPlainText)
            onPlainText(text);
    }
    void holdRepaint() override { events << QStringLiteral("hold"); }
    void releaseRepaint() override { events << QStringLiteral("release"); }

    void runStarted() override { events << QStringLiteral("started"); }
    void runFinished() override { events << QStringLiteral("finished"); }
    void progressStarted() override { events << QStringLiteral("progress"); }
    void progressPosition(int position) override { positions.push_back(position); }
    void progressFinished() override { events << QStringLiteral("progress end"); }
    void showError(const QString& text) override { errors << text; }

    // Everything appended, as the window shows it.
    QString text() const
    {
        QString all;
        for (const Append& a : appends)
            all += a.text;
        return all;
    }
    // The appends of one kind, in order.
    QStringList texts(Append::Kind kind) const
    {
        QStringList out;
        for (const Append& a : appends)
            if (a.kind == kind)
                out << a.text;
        return out;
    }

    std::vector<Append> appends;
    QStringList events;
    std::vector<int> positions;
    QStringList errors;
    std::function<void(const QString&)> onPlainText; // row lines and "SQL Query was accomplished"
    std::function<void(const QString&)> onAppend;    // every append
};

} // namespace qbtest
