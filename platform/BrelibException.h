#pragma once
// The in-house exception: it carries the whole message the user reads, so the place that fails
// says what went wrong and only the end of a user command or of a worker job catches it, shows
// it once and goes on. It lives in platform, the lowest layer, because every layer raises it.
#include <QString>
#include <exception>
#include <string>

namespace Brelib {

class exception : public std::exception {
public:
    explicit exception(QString text) : m_text(std::move(text)), m_utf8(m_text.toStdString()) {}
    const QString& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_text;
    std::string m_utf8;
};

} // namespace Brelib
