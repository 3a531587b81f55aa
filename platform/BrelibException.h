#pragma once
// The in-house exception: one complete, user-readable text, raised where an operation fails and
// caught once, at the end of the user command or the worker job.
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
