// paskel: the command the file managers run for the context menu of data link files.
//   paskel items FILE...     prints the items that apply to the selection, one a line
//   paskel explore FILE...   starts qorvex on the first file of a registered type
//   paskel execute FILE...   starts tessmar on it
//   paskel register          registers the extension and installs the file managers' actions
//   paskel unregister        takes both away again
// Exit codes: 0 done; 1 nothing applies or it failed (one line on standard error says why, for
// the file manager's log); 2 wrong usage.
#include "quillbase/qbpaskel.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

int usage()
{
    std::fputs("usage: paskel items|explore|execute FILE...\n"
               "       paskel register|unregister\n",
               stderr);
    return kUsageError;
}

int report(const char* what, const char* why)
{
    std::fprintf(stderr, "paskel: %s%s%s\n", what, *why ? ": " : "", why);
    return kFailed;
}

// Owns one menu object for the run.
class Menu {
public:
    Menu() : m_menu(PaskelCreateMenu()) {}
    ~Menu() { PaskelReleaseMenu(m_menu); }
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;
    QbPaskelMenu* get() const { return m_menu; }

private:
    QbPaskelMenu* m_menu;
};

int listItems(QbPaskelMenu* menu)
{
    QbPaskelMenuItem items[8];
    const QbPaskelResult result = PaskelQueryContextMenu(menu, QB_PASKEL_MENU_NORMAL, items, 8);
    if (result < 0 || QB_PASKEL_ITEM_COUNT(result) == 0)
        return kFailed;
    for (uint32_t i = 0; i < QB_PASKEL_ITEM_COUNT(result) && i < 8; ++i)
        std::printf("%s\n", items[i].textA);
    return 0;
}

int runOnFiles(const char* verb, const std::vector<const char*>& files)
{
    Menu menu;
    if (!menu.get())
        return report("out of memory", "");
    if (PaskelInitialize(menu.get(), files.data(), uint32_t(files.size())) != QB_PASKEL_OK) {
        // An empty menu is no failure of the file manager's: items only says so by its exit code.
        if (std::strcmp(verb, "items") == 0)
            return kFailed;
        return report("nothing to open", PaskelGetLastErrorTextA(menu.get()));
    }
    if (std::strcmp(verb, "items") == 0)
        return listItems(menu.get());
    const uint32_t command = std::strcmp(verb, "explore") == 0 ? QB_PASKEL_EXPLORE : QB_PASKEL_EXECUTE;
    if (PaskelInvokeCommand(menu.get(), command) != QB_PASKEL_OK)
        return report(verb, PaskelGetLastErrorTextA(menu.get()));
    return 0;
}

int registration(const char* verb)
{
    const bool doRegister = std::strcmp(verb, "register") == 0;
    const QbPaskelResult result = doRegister ? DllRegisterServer() : DllUnregisterServer();
    if (result == QB_PASKEL_OK)
        return 0;
    if (result == QB_PASKEL_ACCESSDENIED)
        return report(verb, "the machine's registry may not be changed by this user");
    return report(verb, PaskelGetLastErrorTextA(nullptr));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    const char* verb = argv[1];
    if (std::strcmp(verb, "register") == 0 || std::strcmp(verb, "unregister") == 0)
        return argc == 2 ? registration(verb) : usage();
    if (std::strcmp(verb, "items") != 0 && std::strcmp(verb, "explore") != 0 && std::strcmp(verb, "execute") != 0)
        return usage();
    if (argc < 3)
        return usage();
    return runOnFiles(verb, std::vector<const char*>(argv + 2, argv + argc));
}
