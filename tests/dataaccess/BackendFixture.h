#pragma once
// A test fixture parameterized over the test backends: a fresh database and a session on it
// through the code under test.
#include "support/BackendFixture.h"

namespace qbtest {

class BackendTest : public BackendFixture {
protected:
    void SetUp() override
    {
        BackendFixture::SetUp();
        session = dataSource->createSession();
    }

    std::shared_ptr<qb::data::Session> session;
};

} // namespace qbtest
