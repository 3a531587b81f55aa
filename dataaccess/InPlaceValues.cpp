#include "dataaccess/InPlaceValues.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace qb::data {

struct InPlaceValues::Value {
    std::mutex mutex;
    const char* data = nullptr; // the provider's memory, or `own` once detached
    size_t size = 0;
    size_t position = 0;
    QByteArray own;

    void detach()
    {
        std::lock_guard lock(mutex);
        if (!own.isNull() || !data)
            return;
        own = QByteArray(data + position, qsizetype(size - position));
        data = own.constData();
        size = size_t(own.size());
        position = 0;
    }
};

namespace {

class InPlaceStream final : public SequentialStream {
public:
    explicit InPlaceStream(std::shared_ptr<InPlaceValues::Value> value) : m_value(std::move(value)) {}
    size_t read(void* buffer, size_t size) override
    {
        InPlaceValues::Value& v = *m_value;
        std::lock_guard lock(v.mutex);
        const size_t n = std::min(size, v.size - v.position);
        if (n)
            std::memcpy(buffer, v.data + v.position, n);
        v.position += n;
        return n;
    }

private:
    const std::shared_ptr<InPlaceValues::Value> m_value;
};

} // namespace

SequentialStream* InPlaceValues::openStream(const void* data, size_t size)
{
    std::erase_if(m_open, [](const std::weak_ptr<Value>& v) { return v.expired(); });
    auto value = std::make_shared<Value>();
    value->data = data ? static_cast<const char*>(data) : ""; // an empty value may come without memory
    value->size = size;
    m_open.push_back(value);
    return new InPlaceStream(std::move(value));
}

void InPlaceValues::detach()
{
    for (const std::weak_ptr<Value>& weak : m_open)
        if (const std::shared_ptr<Value> value = weak.lock())
            value->detach();
    m_open.clear();
}

} // namespace qb::data
