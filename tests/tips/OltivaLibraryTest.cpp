// The built library as the host sees it: exactly two exports, and both show the dialog on the
// caller's application and hand back the check box.
#include "platform/SharedLibrary.h"
#include "quillbase/qbtips.h"
#include "support/TempDir.h"
#include "tips/TipsFiles.h"

#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kLibrary = QStringLiteral(QB_OLTIVA_LIBRARY);

QStringList definedExports(const QString& library)
{
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), library});
    if (!nm.waitForFinished(30000) || nm.exitCode() != 0)
        return {QStringLiteral("<nm failed: %1>").arg(QString::fromLocal8Bit(nm.readAllStandardError()))};
    QStringList names;
    for (const QString& line : QString::fromLocal8Bit(nm.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
        names << line.section(u' ', -1);
    names.sort();
    return names;
}

struct Seen {
    QString title;
    QString text;
};

// Once the library's dialog is up: what it shows, then the keys a user would press.
void whenShown(Seen* seen, std::function<void(QDialog*)> keys)
{
    QTimer::singleShot(0, [seen, keys] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog)); // shortcuts go to the active window
        seen->title = dialog->windowTitle();
        if (QObject* text = dialog->findChild<QObject*>(QStringLiteral("tipText")))
            seen->text = text->property("text").toString();
        keys(dialog);
    });
}

void uncheckAndEscape(QDialog* dialog)
{
    QObject* box = dialog->findChild<QObject*>(QStringLiteral("showAtStartup"));
    ASSERT_NE(box, nullptr);
    // "&Show tips at startup": its mnemonic clicks it a moment later.
    QTest::keyClick(dialog, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([box] { return !box->property("checked").toBool(); }));
    QTest::keyClick(dialog, Qt::Key_Escape);
}

} // namespace

TEST(OltivaLibrary, ExportsTheTwoEntryPointsAndNothingElse)
{
    EXPECT_EQ(definedExports(kLibrary), QStringList({QStringLiteral("ShowTipsDialogA"), QStringLiteral("ShowTipsDialogW")}));
}

TEST(OltivaLibrary, BothExportsShowTheFileAndReturnTheBox)
{
    qb::SharedLibrary library(kLibrary);
    ASSERT_TRUE(library.isLoaded()) << library.errorText().toStdString();
    auto showW = library.function<QbShowTipsDialogW>("ShowTipsDialogW");
    auto showA = library.function<QbShowTipsDialogA>("ShowTipsDialogA");
    ASSERT_NE(showW, nullptr);
    ASSERT_NE(showA, nullptr);

    qbtest::TempDir dir;
    const QString path = dir.qfile("Tipps für Anna.tip");
    qbtest::writeTipsFile(path, 2, {QStringLiteral("Grüße zuerst"), QStringLiteral("dann das")}, QStringLiteral("Tipps"));

    Seen seen;
    whenShown(&seen, [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(showW(nullptr, reinterpret_cast<const char16_t*>(path.utf16()), 1), 1);
    EXPECT_EQ(seen.title, u"Tipps");
    EXPECT_EQ(seen.text, u"Grüße zuerst");

    whenShown(&seen, uncheckAndEscape);
    EXPECT_EQ(showA(nullptr, path.toUtf8().constData(), 1), 0);
    EXPECT_EQ(seen.text, u"Grüße zuerst");

    whenShown(&seen, [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(showA(nullptr, nullptr, 2), 0) << "2 is not 1: the box starts unchecked";
    EXPECT_EQ(seen.text, u"Tips file does not exist in the prescribed directory");
}
