// Base of the tests that read the built program's resources: each test starts only once the
// program opened as a data file.
#pragma once

#include "res/ResourceModule.h"

#include <gtest/gtest.h>

class ProgramResourcesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Program().IsOpen())
            << "cannot open " << STARTUP_EXE_PATH << " (error " << Program().OpenError() << ")";
    }

    static const ResourceModule& Program() { return ProgramResources(); }

    // The bytes of one resource, failing the test when it is missing.
    static std::vector<unsigned char> Load(LPCWSTR type, WORD id, LANGID language)
    {
        std::vector<unsigned char> data;
        EXPECT_TRUE(Program().Load(type, id, language, &data))
            << DescribeEntry(type, MAKEINTRESOURCEW(id), language) << " is missing";
        return data;
    }
};
