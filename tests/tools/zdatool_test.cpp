// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// zdatool as a modder uses it: pack a folder, list it, extract it again, verify it, and get
// one clear error with exit status 1 for bad input.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace fs = std::filesystem;
using test_support::runProgram;

namespace {

class ZdatoolTest : public ::testing::Test {
  protected:
    test_support::ChildResult zdatool(std::vector<std::string> args) {
        args.insert(args.begin(), (test_support::buildDirectory() / "tools" / "zdatool").string());
        return runProgram(args, scratch.path());
    }
    test_support::ScratchDirectory scratch;
};

TEST_F(ZdatoolTest, PackListExtractVerifyRoundTrip) {
    fs::create_directory("in");
    std::vector<uint8_t> big(50000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i % 251);
    test_support::writeFile("in/big.bin", big);
    test_support::writeText("in/logo.bmp", "BM picture");

    ASSERT_EQ(zdatool({"pack", "out.zda", "in/big.bin", "in/logo.bmp"}).exitStatus, 0);
    const test_support::ChildResult listed = zdatool({"list", "out.zda"});
    EXPECT_EQ(listed.exitStatus, 0);
    EXPECT_NE(listed.output.find("big.bin"), std::string::npos);
    EXPECT_NE(listed.output.find("50000"), std::string::npos);
    EXPECT_NE(listed.output.find("logo.bmp"), std::string::npos);

    ASSERT_EQ(zdatool({"extract", "out.zda", "out"}).exitStatus, 0);
    EXPECT_EQ(test_support::readFile("out/big.bin"), big);
    EXPECT_EQ(test_support::readFile("out/logo.bmp"), test_support::bytesOf("BM picture"));
    EXPECT_EQ(zdatool({"verify", "out.zda"}).exitStatus, 0);

    // The same inputs always give the same archive.
    ASSERT_EQ(zdatool({"pack", "again.zda", "in/big.bin", "in/logo.bmp"}).exitStatus, 0);
    EXPECT_EQ(test_support::readFile("again.zda"), test_support::readFile("out.zda"));
}

TEST_F(ZdatoolTest, BadInputFailsWithStatusOne) {
    test_support::writeText("a.bin", "x");
    fs::create_directory("other");
    test_support::writeText("other/a.bin", "y");
    test_support::writeText(std::string(40, 'n'), "long");
    test_support::writeText("empty.bin", "");
    EXPECT_EQ(zdatool({"pack", "o.zda", "a.bin", "other/a.bin"}).exitStatus, 1);  // same name
    EXPECT_EQ(zdatool({"pack", "o.zda", std::string(40, 'n')}).exitStatus, 1);    // too long
    EXPECT_EQ(zdatool({"pack", "o.zda", "missing.bin"}).exitStatus, 1);
    EXPECT_EQ(zdatool({"pack", "o.zda", "empty.bin"}).exitStatus, 1);
    EXPECT_FALSE(fs::exists("o.zda"));
    EXPECT_EQ(zdatool({"list", "a.bin"}).exitStatus, 1);  // not an archive
    EXPECT_EQ(zdatool({"frobnicate", "a.bin"}).exitStatus, 1);

    ASSERT_EQ(zdatool({"pack", "good.zda", "a.bin"}).exitStatus, 0);
    std::vector<uint8_t> damaged = test_support::readFile("good.zda");
    damaged.back() ^= 0xFF;
    test_support::writeFile("bad.zda", damaged);
    EXPECT_EQ(zdatool({"verify", "bad.zda"}).exitStatus, 1);
    EXPECT_EQ(zdatool({"extract", "bad.zda", "x"}).exitStatus, 1);
}

}  // namespace
