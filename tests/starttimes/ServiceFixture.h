// SPDX-License-Identifier: GPL-3.0-or-later
// One loopback start-time service for a test suite, with the answers the tests need as scenario files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/http/HttpGet.h"
#include "platform/http/OrariServer.h"
#include "starttimes/ServiceClient.h"
#include "support/TempDir.h"

namespace calvorin::test {

class ServiceFixture : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>();
        std::filesystem::copy_file(CALVORIN_SOURCE_DIR "/tools/orari-server/orari-2025.json",
                                   *dir_ / "orari-2025.json");
        server_ = std::make_unique<OrariServer>(
            std::vector<std::string>{"--data-dir", dir_->path().string(), "--slow-seconds", "30"});
    }
    static void TearDownTestSuite() {
        server_.reset();
        dir_.reset();
    }

    // Writes an answer that /scenario/<name>/ sends as it is.
    static void Scenario(const std::string& name, const std::string& body) { WriteBytes(*dir_ / name, body); }

    static std::string Url(const std::string& path) { return server_->Url(path); }

    // The service's own options with a shorter response time-out.
    static std::unique_ptr<HttpTransport> Transport(long responseTimeoutMs = 5000) {
        HttpOptions options = ServiceHttpOptions();
        options.responseTimeoutMs = responseTimeoutMs;
        return MakeHttpTransport(options);
    }

    static std::unique_ptr<TempDir> dir_;
    static std::unique_ptr<OrariServer> server_;
};

inline std::unique_ptr<TempDir> ServiceFixture::dir_;
inline std::unique_ptr<OrariServer> ServiceFixture::server_;

}  // namespace calvorin::test
