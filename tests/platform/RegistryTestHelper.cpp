// A second process for the registry tests: writes many values at once with another process, rewrites
// one large value until it is killed, or tries writes in a hive it may only read. The hive folder
// comes from QUILLBASE_REGISTRY_DIR, as in the test that started it.
//
//   registry_test_helper write-values ROOT PREFIX COUNT
//                                                    waits for a line on stdin, then writes
//                                                    ROOT\Software\Concurrent\PREFIX<i> = i
//   registry_test_helper rewrite ROOT                 rewrites ROOT\Software\Crash\Big forever,
//                                                    printing each generation once it is written
//   registry_test_helper probe-readonly               prints "what=result" for reads and writes
#include "platform/Registry.h"
#include "RegistryCrashValue.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

using namespace qb::reg;

namespace {

int writeValues(HKEY root, const QString& prefix, int count)
{
    std::string go;
    std::getline(std::cin, go); // start together with the other writer
    KeyGuard key;
    if (long rc = RegCreateKeyEx(root, QStringLiteral("Software\\Concurrent"), key.out()); rc != ERROR_SUCCESS) {
        std::fprintf(stderr, "create key: %ld\n", rc);
        return 1;
    }
    for (uint32_t i = 0; i < uint32_t(count); ++i) {
        if (long rc = RegSetValueEx(key.get(), prefix + QString::number(i), REG_DWORD, &i, sizeof i); rc != ERROR_SUCCESS) {
            std::fprintf(stderr, "value %u: %ld\n", i, rc);
            return 1;
        }
    }
    return 0;
}

int rewriteForever(HKEY root)
{
    KeyGuard key;
    if (!root || RegCreateKeyEx(root, QStringLiteral("Software\\Crash"), key.out()) != ERROR_SUCCESS)
        return 1;
    for (uint32_t generation = 1;; ++generation) {
        const QByteArray data = qbtest::crashValue(generation);
        if (RegSetValueEx(key.get(), QStringLiteral("Big"), REG_BINARY, data.constData(), uint32_t(data.size())) != ERROR_SUCCESS)
            return 1;
        std::printf("%u\n", generation);
        std::fflush(stdout);
    }
}

int probeReadOnly()
{
    auto say = [](const char* what, long rc) { std::printf("%s=%ld\n", what, rc); };
    KeyGuard vendor;
    say("open", RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Vendor"), vendor.out()));
    char16_t path[64] = {};
    uint32_t size = sizeof path;
    say("query", RegQueryValueEx(vendor.get(), QStringLiteral("core path"), nullptr, path, &size));
    say("set", RegSetValueEx(vendor.get(), QStringLiteral("core path"), REG_SZ, u"x", 4));
    say("delete-value", RegDeleteValue(vendor.get(), QStringLiteral("core path")));
    KeyGuard sub;
    say("create-existing", RegCreateKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\vendor"), sub.out()));
    say("create-new", RegCreateKeyEx(vendor.get(), QStringLiteral("New"), sub.out()));
    say("delete-tree", RegDeleteTree(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Vendor")));
    // No hive file for the current user yet, and no right to make one.
    say("user-open", RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software"), sub.out()));
    say("user-create", RegCreateKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software"), sub.out()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "write-values" && argc == 5)
        return writeValues(rootByName(QString::fromLatin1(argv[2])), QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]));
    if (mode == "rewrite" && argc == 3)
        return rewriteForever(rootByName(QString::fromLatin1(argv[2])));
    if (mode == "probe-readonly")
        return probeReadOnly();
    std::fprintf(stderr, "usage: registry_test_helper write-values ROOT PREFIX COUNT | rewrite ROOT | probe-readonly\n");
    return 2;
}
