// SPDX-License-Identifier: GPL-3.0-or-later
// Any answer of the start-time service is parsed and merged without a throw, changing only the rows it
// reports.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/http/HttpTransport.h"
#include "plugin/log/Log.h"
#include "starttimes/ParseDateTime.h"
#include "starttimes/ServiceClient.h"
#include "starttimes/StartTimeTable.h"
#include "starttimes/StartTimeUpdate.h"

namespace {

// Answers every request with the fuzz bytes as a 200 body, as the network would.
class BytesTransport : public calvorin::HttpTransport {
  public:
    explicit BytesTransport(std::string_view body) : body_(body) {}
    calvorin::HttpResponse Get(const std::string&) override { return {200, "OK", body_, false}; }

  private:
    std::string body_;
};

calvorin::StartTimeTable DefaultTable() {
    calvorin::StartTimeTable table;
    for (int n = 1; n <= calvorin::kMatchdays; ++n)
        if (!calvorin::ParseDateTime(calvorin::DefaultStartTimeText(n), calvorin::DateTimeForm::Storage,
                                     table.OrariSerieA[n - 1]))
            std::abort();
    table.UrlServizio = "http://127.0.0.1/orari.php";
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calvorin;
    if (size == 0) return 0;
    // The first byte picks a manual or an automatic update, the rest is the body.
    const bool byUser = data[0] & 1;
    BytesTransport transport(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    static const StartTimeTable kBefore = DefaultTable();
    StartTimeTable table = kBefore;
    bool reported[kMatchdays] = {};
    MemoryLogSink sink;
    Log log(sink);
    AggiornaOrari(table, byUser, 2025, transport, log, [&](int row) {
        if (row < 1 || row > kMatchdays) std::abort();
        reported[row - 1] = true;
    });
    for (int n = 0; n < kMatchdays; ++n)
        if (!reported[n] && table.OrariSerieA[n] != kBefore.OrariSerieA[n]) std::abort();
    try {
        ServiceUpdateTime(GetOrariServizio(transport, table.UrlServizio, 2025));
    } catch (const std::runtime_error&) {
    }
    return 0;
}
