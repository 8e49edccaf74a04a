// A fixture for tests of the offline client's model through its sessions: a
// scenario put in force and a session started on it, the records each frame
// brings, and everything put back to the built-in scenario afterwards.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "record_queue.h"
#include "schema.h"
#include "session.h"
#include "session_lifecycle.h"
#include "stats_server.h"
#include "steam_calls.h"

class ModelSessionTest : public ::testing::Test {
protected:
    void TearDown() override {
        offline_steam::StopSession();
        offline_steam::SetActiveScenario(offline_steam::BuiltInScenario());
        offline_steam::ResetSimulator();
    }

    // Ends the running session, if any, and starts one under `scenario`.
    void Use(const offline_steam::Scenario& scenario) {
        offline_steam::StopSession();
        offline_steam::SetActiveScenario(scenario);
        offline_steam::ResetSimulator();
        ASSERT_TRUE(offline_steam::StartSession());
    }

    // The next frame's records, delivered.
    std::vector<offline_steam::QueuedRecord> Frame() {
        offline_steam::TheSession().AdvanceFrame();
        std::vector<offline_steam::QueuedRecord> due =
            offline_steam::TheRecordQueue().TakeDue(offline_steam::TheSession().Frame());
        for (const offline_steam::QueuedRecord& record : due) offline_steam::NoteDelivered(record);
        return due;
    }

    void ReceiveStats() {
        ASSERT_TRUE(offline_steam::calls::StatsRequestCurrentStats(true));
        Frame();
        ASSERT_TRUE(offline_steam::TheStatsServer().StatsAvailable());
    }
};
