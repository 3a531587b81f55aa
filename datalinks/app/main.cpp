// datalink FILE.udl: edits a data link file in the Data Link Properties dialog. Exits 0 when the
// file was saved, 1 when the user cancelled, 2 when it was started wrongly.
#include "datalinks/DataLinkFileEditing.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2 || arguments.at(1).isEmpty()) {
        std::fprintf(stderr, "usage: datalink FILE.udl\n");
        return qb::datalinks::kEditUsage;
    }
    return qb::datalinks::editDataLinkFile(arguments.at(1));
}
