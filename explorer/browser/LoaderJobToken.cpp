#include "explorer/browser/LoaderJobToken.h"

namespace qb::browser {

namespace {
thread_local const LoaderJobToken* t_current = nullptr;
}

const LoaderJobToken* LoaderJobToken::current()
{
    return t_current;
}

LoaderJobToken::Scope::Scope(const LoaderJobToken& token) : m_previous(t_current)
{
    t_current = &token;
}

LoaderJobToken::Scope::~Scope()
{
    t_current = m_previous;
}

} // namespace qb::browser
