#pragma once
// A records fixture (`Base`) on a PostgreSQL server of the test's own, which
// the test stops and starts as an outage would (tests/Database/pg-cluster):
// the other PostgreSQL tests keep the shared server running meanwhile. Runs
// only where the PostgreSQL tests run (their server is named), else skips.

#include "RunProgram.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

template <class Base>
class OwnServerFixture : public Base {
protected:
    void SetUp() override
    {
        if (!std::getenv("KOVA_TEST_POSTGRESQL"))
            GTEST_SKIP() << "the outage is one of a PostgreSQL server";
        state_ = server_.file("state");
        cluster("start");
        if (kovatest::readFile(state_).empty())
            GTEST_SKIP() << "the test's own PostgreSQL server did not start";
        sharedServer_ = std::getenv("KOVA_TEST_POSTGRESQL");
        setenv("KOVA_TEST_POSTGRESQL", state_.c_str(), 1);
        Base::SetUp();
    }
    void TearDown() override
    {
        Base::TearDown();
        // Later tests of the same program go back to the shared server.
        if (!sharedServer_.empty())
            setenv("KOVA_TEST_POSTGRESQL", sharedServer_.c_str(), 1);
        if (!state_.empty())
            cluster("stop");
    }
    // "pause" stops the server, "resume" starts it again, "restart" does both.
    void cluster(const std::string& action)
    {
        const kovatest::ProgramRun run =
            kovatest::runProgram((kovatest::sourceDir() / "tests/Database/pg-cluster").string(), {action, state_});
        ASSERT_EQ(run.exitCode, 0) << action << ": " << run.output << run.errors;
    }

private:
    kovatest::TempDir server_;
    std::string state_;
    std::string sharedServer_;
};
