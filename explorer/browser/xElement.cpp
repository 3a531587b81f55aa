#include "explorer/browser/xElement.h"

#include "dataaccess/ObjectName.h"
#include "explorer/browser/LoaderJobToken.h"
#include "platform/StringTable.h"

namespace qb::browser {

xElement::xElement(const Kind& kind, ReportSink& sink)
    : m_kind(kind), m_sink(sink), m_caption(loadString(kind.captionId))
{
}

QString xElement::cellDescription(int, int) const
{
    return {};
}

int xElement::itemImage(int, int) const
{
    return kNoImage;
}

QString xElement::caption() const
{
    std::lock_guard<std::mutex> guard(m_captionMutex);
    return m_caption;
}

void xElement::setCaption(const QString& caption)
{
    std::lock_guard<std::mutex> guard(m_captionMutex);
    m_caption = caption;
}

int xElement::childKind(int) const
{
    return m_kind.childId;
}

bool xElement::loadStopRequested()
{
    const LoaderJobToken* job = LoaderJobToken::current();
    return job && job->stopRequested();
}

std::unique_lock<std::mutex> xElement::lockForLoad(std::mutex& loadMutex)
{
    if (LoaderJobToken::current())
        return std::unique_lock<std::mutex>(loadMutex);
    return std::unique_lock<std::mutex>(loadMutex, std::try_to_lock);
}

std::optional<data::ObjectName> xElement::object() const
{
    return std::nullopt;
}

} // namespace qb::browser
