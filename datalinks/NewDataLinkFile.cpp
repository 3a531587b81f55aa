#include "datalinks/NewDataLinkFile.h"

#include "dataaccess/DataLinkFile.h"
#include "dataaccess/ErrorText.h"
#include "platform/BrelibException.h"
#include "platform/PrivateFile.h"
#include "platform/StringTable.h"
#include "platform/SystemErrorText.h"

#include <QFile>

#include <cerrno>

namespace qb::datalinks {
namespace {

[[noreturn]] void failCreating(const QString& why)
{
    throw Brelib::exception(data::composeMessage(loadString(data::kActionCreateDataLink), why));
}

} // namespace

NewDataLinkFile::NewDataLinkFile(QString target) : m_target(std::move(target))
{
    // A name drawn twice is all but impossible; drawing again costs nothing.
    int error = EEXIST;
    for (int attempt = 0; attempt < 8 && error == EEXIST; ++attempt) {
        m_temporary = m_target + QStringLiteral(".t") + newGuidText() + QStringLiteral(".udl");
        error = createPrivateFile(m_temporary);
    }
    if (error) {
        m_moved = true; // nothing of ours to delete
        failCreating(qb::systemErrorText(error));
    }
}

NewDataLinkFile::~NewDataLinkFile()
{
    if (!m_moved)
        QFile::remove(m_temporary);
}

void NewDataLinkFile::edit(const DataLinkEditor& editor)
{
    const QString failure = editor.run(m_temporary);
    if (!failure.isEmpty())
        failCreating(QStringLiteral("The data link editor \"%1\" cannot be started: %2").arg(editor.program, failure));
}

QString NewDataLinkFile::provider() const
{
    return data::readDataLinkProvider(m_temporary);
}

void NewDataLinkFile::moveToTarget()
{
    if (const int error = renameOver(m_temporary, m_target))
        throw Brelib::exception(qb::systemErrorText(error));
    m_moved = true;
}

} // namespace qb::datalinks
