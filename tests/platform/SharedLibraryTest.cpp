// Libraries by full path: loaded and bound by name, or a reason; never searched for.
#include "platform/SharedLibrary.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

using qb::SharedLibrary;

TEST(SharedLibrary, LoadsByFullPathOnlyAndReportsTheLoadersReason)
{
    // Found by the loader's search, but a relative name must not be.
    SharedLibrary relative(QStringLiteral("libm.so.6"));
    EXPECT_FALSE(relative.isLoaded());
    EXPECT_TRUE(relative.errorText().contains(u"full path")) << relative.errorText().toStdString();

    SharedLibrary missing(QStringLiteral("/nonexistent/libnothing.so"));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_TRUE(missing.errorText().contains(u"No such file")) << missing.errorText().toStdString();

    Dl_info info{};
    ASSERT_NE(::dladdr(reinterpret_cast<void*>(&::dlopen), &info), 0);
    SharedLibrary libdl(QString::fromLocal8Bit(info.dli_fname));
    ASSERT_TRUE(libdl.isLoaded()) << info.dli_fname << ": " << libdl.errorText().toStdString();
    EXPECT_NE(libdl.symbol("dlopen"), nullptr);
    EXPECT_EQ(libdl.symbol("no_such_export_here"), nullptr);
    EXPECT_TRUE(libdl.errorText().contains(u"no_such_export_here")) << libdl.errorText().toStdString();
}
