// SPDX-License-Identifier: GPL-3.0-or-later
#include "starttimes/ServiceAnswer.h"

#include <string>
#include <utility>
#include <vector>

namespace calvorin {
namespace {

using Json = ServiceAnswer;

// Builds the document as the library's own parser does, except that a member whose name was already
// seen is added after the others instead of replacing the earlier value.
class KeepEveryMember {
  public:
    // The document is built in `root`, which the caller owns.
    explicit KeepEveryMember(Json& root) : root_(root) {}

    bool null() { return Put(nullptr); }
    bool boolean(bool value) { return Put(value); }
    bool number_integer(Json::number_integer_t value) { return Put(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return Put(value); }
    bool number_float(Json::number_float_t value, const Json::string_t&) { return Put(value); }
    bool string(Json::string_t& value) { return Put(std::move(value)); }
    bool binary(Json::binary_t& value) { return Put(Json::binary(std::move(value))); }

    bool start_object(std::size_t) {
        open_.push_back(Place(Json::object()));
        return true;
    }
    bool start_array(std::size_t) {
        open_.push_back(Place(Json::array()));
        return true;
    }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool key(Json::string_t& name) {
        // The object is a vector of members underneath: appending to it keeps a repeated name.
        auto& members = static_cast<Json::object_t::Container&>(open_.back()->get_ref<Json::object_t&>());
        members.emplace_back(std::move(name), nullptr);
        member_ = &members.back().second;
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

  private:
    // Where the next value goes: the root, the end of the open array, or the member just named. Pointers
    // to open containers stay valid: only the innermost one grows.
    Json* Place(Json&& value) {
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        Json& container = *open_.back();
        if (container.is_array()) {
            container.push_back(std::move(value));
            return &container.back();
        }
        *member_ = std::move(value);
        return member_;
    }

    template <typename T>
    bool Put(T&& value) {
        Place(Json(std::forward<T>(value)));
        return true;
    }

    bool Close() {
        open_.pop_back();
        return true;
    }

    Json& root_;
    std::vector<Json*> open_;
    Json* member_ = nullptr;
};

}  // namespace

std::optional<ServiceAnswer> ParseServiceAnswer(std::string_view json) {
    Json root;
    KeepEveryMember handler(root);
    if (!Json::sax_parse(json, &handler)) return std::nullopt;
    return root;
}

}  // namespace calvorin
