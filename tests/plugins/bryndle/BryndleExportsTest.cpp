// The plug-in as the host sees it: loaded by full path, its exports (and nothing else), the
// dialog it shows for a value, an empty value, and a value it cannot read.
#include "platform/Storage.h"

#include <quillbase/qbplugin.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QProcess>
#include <QTimer>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

QStringList definedFunctions(const char* library)
{
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), QString::fromUtf8(library)});
    EXPECT_TRUE(nm.waitForFinished(30000));
    QStringList names;
    for (const QString& line : QString::fromUtf8(nm.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
        if (parts.size() == 3 && (parts[1] == u"T" || parts[1] == u"W" || parts[1] == u"i"))
            names << parts[2];
    }
    names.sort();
    return names;
}

TEST(PluginExports, OnlyTheAbiFunctionsAreExported)
{
    EXPECT_EQ(definedFunctions(QBTEST_BRYNDLE),
              (QStringList{"GetLastErrorTextA", "GetLastErrorTextW", "GetMenuItemNameA", "GetMenuItemNameW",
                           "GetModuleDescriptionW", "ShowAboutBox", "ShowBLOB", "TestBLOB"}));
    EXPECT_EQ(definedFunctions(QBTEST_EXAMPLE),
              (QStringList{"GetLastErrorTextA", "GetLastErrorTextW", "GetMenuItemNameA", "GetMenuItemNameW", "ShowBLOB",
                           "TestBLOB"}));
}

class Bryndle : public ::testing::Test {
protected:
    void SetUp() override
    {
        handle = dlopen(QBTEST_BRYNDLE, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        ASSERT_NE(handle, nullptr) << dlerror();
        show = reinterpret_cast<QbShowBLOBFn>(dlsym(handle, QB_EXPORT_SHOW_BLOB));
        error = reinterpret_cast<QbGetLastErrorTextWFn>(dlsym(handle, QB_EXPORT_GET_LAST_ERROR_TEXT_W));
        ASSERT_TRUE(show && error);
    }
    void TearDown() override { dlclose(handle); }

    QbStream* valueStream(const QByteArray& bytes)
    {
        QbStream* stream = storage.createStream(QStringLiteral("PluginBLOB_StreamName"));
        uint32_t done = 0;
        if (!bytes.isEmpty())
            stream->table->write(stream, bytes.constData(), uint32_t(bytes.size()), &done);
        return stream;
    }

    void* handle = nullptr;
    QbShowBLOBFn show = nullptr;
    QbGetLastErrorTextWFn error = nullptr;
    qb::Storage storage;
};

TEST_F(Bryndle, NamesItselfDescribesItselfAndAcceptsEveryValue)
{
    const auto nameW = reinterpret_cast<QbGetMenuItemNameWFn>(dlsym(handle, QB_EXPORT_GET_MENU_ITEM_NAME_W));
    const auto nameA = reinterpret_cast<QbGetMenuItemNameAFn>(dlsym(handle, QB_EXPORT_GET_MENU_ITEM_NAME_A));
    const auto test = reinterpret_cast<QbTestBLOBFn>(dlsym(handle, QB_EXPORT_TEST_BLOB));
    EXPECT_EQ(QString::fromUtf16(nameW()), QStringLiteral("Binary viewer"));
    EXPECT_STREQ(nameA(), "Binary viewer");
    for (uint32_t type : {QB_TYPE_BYTES, QB_TYPE_STR, QB_TYPE_WSTR, 3u}) {
        const BlobValue v{nullptr, type};
        EXPECT_EQ(test(&v), 1) << type;
    }
    const auto describe = reinterpret_cast<QbGetModuleDescriptionWFn>(dlsym(handle, QB_EXPORT_GET_MODULE_DESCRIPTION_W));
    ASSERT_NE(describe, nullptr);
    PluginDescription d{};
    EXPECT_EQ(describe(&d), 1);
    EXPECT_EQ(QString::fromUtf16(d.name), QStringLiteral("Bryndle hex viewer"));
    EXPECT_EQ(QString::fromUtf16(d.version), QStringLiteral("1.0.4"));
    EXPECT_NE(dlsym(handle, QB_EXPORT_SHOW_ABOUT_BOX), nullptr);
    EXPECT_EQ(dlsym(handle, QB_EXPORT_SHOW_CONFIGURATE_WND), nullptr);
}

TEST_F(Bryndle, ShowsTheValueInAModalDialogOverTheParent)
{
    QWidget parent;
    BlobValue value{valueStream(QByteArray("\x00\x41\xFF", 3)), QB_TYPE_BYTES};
    QString title;
    QWidget* owner = nullptr;
    bool hexViewThere = false;
    QImage picture;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        owner = dialog->parentWidget();
        hexViewThere = dialog->findChild<QAbstractScrollArea*>(QStringLiteral("CHexEditBase")) != nullptr;
        picture = dialog->grab().toImage();
        dialog->accept();
    });
    EXPECT_EQ(show(&parent, 0, &value), 1);
    EXPECT_EQ(title, QStringLiteral("Binary Viewer"));
    EXPECT_EQ(owner, &parent);
    EXPECT_TRUE(hexViewThere);
    // The address column is shown: its dark red background is on the picture.
    bool addressColour = false;
    for (int y = 0; y < picture.height() && !addressColour; ++y)
        for (int x = 0; x < picture.width() && !addressColour; ++x)
            addressColour = picture.pixelColor(x, y) == QColor(90, 0, 0);
    EXPECT_TRUE(addressColour);
    EXPECT_EQ(error(), nullptr);
    value.stream->table->release(value.stream);
}

TEST_F(Bryndle, AnEmptyValueOpensAnEmptyViewer)
{
    BlobValue value{valueStream({}), QB_TYPE_BYTES};
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = true;
            static_cast<QDialog*>(dialog)->accept();
        }
    });
    EXPECT_EQ(show(nullptr, 0, &value), 1);
    EXPECT_TRUE(opened);
    value.stream->table->release(value.stream);
}

TEST_F(Bryndle, AValueThatCannotBeReadIsRefusedWithAReason)
{
    BlobValue value{valueStream(QByteArray(10, 'x')), QB_TYPE_BYTES};
    storage.destroyElement(QStringLiteral("PluginBLOB_StreamName"));
    EXPECT_EQ(show(nullptr, 0, &value), 0);
    ASSERT_NE(error(), nullptr);
    EXPECT_TRUE(QString::fromUtf16(error()).startsWith(QStringLiteral("The value cannot be read")))
        << QString::fromUtf16(error()).toStdString();
    value.stream->table->release(value.stream);
    BlobValue none{nullptr, QB_TYPE_BYTES};
    EXPECT_EQ(show(nullptr, 0, &none), 0);
}

} // namespace

int main(int argc, char** argv)
{
    // Discovery runs without the test's environment; a QApplication without a display aborts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
