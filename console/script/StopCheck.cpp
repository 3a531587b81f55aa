#include "console/script/StopCheck.h"

#include "console/script/ConsoleText.h"
#include "platform/StringTable.h"

namespace qb::console {

StopCheck::StopCheck(const StopSignal& stop, ResultWriter& writer)
    : m_stop(stop), m_writer(writer), m_line(loadString(kTextInterrupted) + QStringLiteral("\r\n"))
{
}

bool StopCheck::isStopRequested()
{
    if (!m_stop.isSet())
        return false;
    m_writer.appendResultText(m_line, ResultTextCategory::OtherText);
    return true;
}

} // namespace qb::console
