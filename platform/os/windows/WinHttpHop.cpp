// SPDX-License-Identifier: GPL-3.0-or-later
// The hop over WinHTTP, the system's HTTP library on Windows, used asynchronously so that the deadlines hold.
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/http/HttpHop.h"
#include "platform/http/NetworkFailure.h"
#include "platform/http/Redirect.h"
#include "platform/http/StatusLine.h"
#include "platform/http/Url.h"
#include "platform/text/Trim.h"

namespace calvorin {
namespace {

constexpr DWORD kReadChunk = 64 * 1024;

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length,
                          nullptr, nullptr);
    return utf8;
}

struct LocalFreeDeleter {
    void operator()(wchar_t* text) const { ::LocalFree(text); }
};

// The system's text for a WinHTTP error, in the user's language; empty when it has none.
std::string SystemText(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
                                        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    ::GetModuleHandleW(L"winhttp.dll"), code, 0,
                                    reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::unique_ptr<wchar_t, LocalFreeDeleter> owned(buffer);
    if (length == 0 || !buffer) return {};
    std::string text = TrimRight(Utf8(std::wstring(buffer, length)));
    while (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

// Texts for the errors a request meets most, where winhttp.dll has no message table (Wine has none).
const char* OwnText(DWORD code) {
    switch (code) {
        case ERROR_WINHTTP_TIMEOUT:
            return "Tempo scaduto";
        case ERROR_WINHTTP_INVALID_URL:
            return "URL non valido";
        case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
            return "Schema dell'URL non riconosciuto";
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
            return "Impossibile risolvere il nome del server";
        case ERROR_WINHTTP_OPERATION_CANCELLED:
            return "Operazione annullata";
        case ERROR_WINHTTP_CANNOT_CONNECT:
            return "Impossibile connettersi al server";
        case ERROR_WINHTTP_CONNECTION_ERROR:
            return "Connessione con il server interrotta";
        case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
            return "Risposta del server non valida";
        case ERROR_WINHTTP_HEADER_SIZE_OVERFLOW:
            return "Intestazione della risposta troppo lunga";
        case ERROR_WINHTTP_SECURE_FAILURE:
            return "Errore di sicurezza nella connessione https";
        case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
            return "Errore nel canale sicuro della connessione https";
        case ERROR_WINHTTP_SECURE_INVALID_CA:
            return "Certificato emesso da un'autorità non riconosciuta";
        case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
            return "Certificato scaduto o non ancora valido";
        case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
            return "Certificato intestato a un altro server";
        case ERROR_WINHTTP_SECURE_INVALID_CERT:
            return "Certificato non valido";
        case ERROR_WINHTTP_SECURE_CERT_REVOKED:
            return "Certificato revocato";
        case ERROR_NOT_ENOUGH_MEMORY:
            return "Memoria insufficiente";
        default:
            return "Errore WinHTTP";
    }
}

std::string LibraryText(DWORD code) {
    std::string text = SystemText(code);
    return text.empty() ? OwnText(code) : text;
}

// What a failed TLS handshake reported about the server's certificate, for the message.
std::string CertificateProblems(DWORD flags) {
    static const std::pair<DWORD, const char*> kProblems[] = {
        {WINHTTP_CALLBACK_STATUS_FLAG_INVALID_CA, "autorità di certificazione non riconosciuta"},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_CN_INVALID, "certificato intestato a un altro server"},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_DATE_INVALID, "certificato scaduto o non ancora valido"},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_REVOKED, "certificato revocato"},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_REV_FAILED, "revoca del certificato non verificabile"},
        {WINHTTP_CALLBACK_STATUS_FLAG_INVALID_CERT, "certificato non valido"},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_WRONG_USAGE, "certificato non adatto a un server"},
        {WINHTTP_CALLBACK_STATUS_FLAG_SECURITY_CHANNEL_ERROR, "errore del canale sicuro"},
    };
    std::string text;
    for (const auto& [flag, problem] : kProblems)
        if (flags & flag) text += (text.empty() ? "" : ", ") + std::string(problem);
    return text;
}

NetworkFailure FailureOf(DWORD code) {
    switch (code) {
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
            return NetworkFailure::NameNotResolved;
        case ERROR_WINHTTP_CANNOT_CONNECT:
            return NetworkFailure::CannotConnect;
        case ERROR_WINHTTP_TIMEOUT:
            return NetworkFailure::TimedOut;
        case ERROR_WINHTTP_SECURE_FAILURE:
        case ERROR_WINHTTP_SECURE_INVALID_CA:
        case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
        case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
        case ERROR_WINHTTP_SECURE_INVALID_CERT:
        case ERROR_WINHTTP_SECURE_CERT_REVOKED:
            return NetworkFailure::Certificate;
        case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
            return NetworkFailure::SecureChannel;
        case ERROR_WINHTTP_CONNECTION_ERROR:
            return NetworkFailure::ConnectionLost;
        default:
            return NetworkFailure::Other;
    }
}

// The message of a failed call: the common failures in the words libcurl's are given on Linux; the rest
// with the system's text and the error's number, which the text may not say.
std::string ErrorText(DWORD code, DWORD certificateFlags = 0) {
    const NetworkFailure failure = FailureOf(code);
    std::string text =
        failure == NetworkFailure::Other
            ? NetworkFailureText(failure, LibraryText(code) + " - errore WinHTTP " + std::to_string(code))
            : NetworkFailureText(failure);
    std::string problems = CertificateProblems(certificateFlags);
    return problems.empty() ? text : text + ": " + problems;
}

[[noreturn]] void ThrowLastError() {
    throw HttpError(ErrorText(::GetLastError()));
}

struct InternetDeleter {
    void operator()(void* handle) const { ::WinHttpCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetDeleter>;

struct EventDeleter {
    void operator()(void* handle) const { ::CloseHandle(handle); }
};

// What the caller and WinHTTP's callback share during one request. The callback may still run after the
// caller has given up and closed the request (a time-out), so it holds its own reference, released when
// WinHTTP reports the request's handle closed.
struct Exchange {
    std::unique_ptr<void, EventDeleter> signal{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::mutex mutex;
    DWORD completed = 0;  // the completion of the call in flight, 0 until it comes
    DWORD error = 0;      // the error of WINHTTP_CALLBACK_STATUS_REQUEST_ERROR
    DWORD bytesRead = 0;
    DWORD certificateFlags = 0;
    std::optional<HttpClock::time_point> sentAt;
    std::vector<char> buffer = std::vector<char>(kReadChunk);  // WinHTTP reads into it
};

using ExchangeKeeper = std::shared_ptr<Exchange>;

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, void* information, DWORD length) {
    auto* keeper =
        reinterpret_cast<ExchangeKeeper*>(context);  // NOLINT(performance-no-int-to-ptr): WinHTTP's context
    if (!keeper) return;
    if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
        delete keeper;  // the last call for this handle
        return;
    }
    Exchange& x = **keeper;
    {
        std::lock_guard<std::mutex> lock(x.mutex);
        switch (status) {
            case WINHTTP_CALLBACK_STATUS_SENDING_REQUEST:
                if (!x.sentAt) x.sentAt = HttpClock::now();
                break;
            case WINHTTP_CALLBACK_STATUS_SECURE_FAILURE:
                if (information && length >= sizeof(DWORD))
                    x.certificateFlags = *static_cast<DWORD*>(information);
                return;
            case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
                x.error = static_cast<WINHTTP_ASYNC_RESULT*>(information)->dwError;
                x.completed = status;
                break;
            case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
                x.bytesRead = length;
                x.completed = status;
                break;
            case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
            case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
                x.completed = status;
                break;
            default:
                return;
        }
    }
    ::SetEvent(x.signal.get());
}

// Waits for `expected`, the completion of the asynchronous call just made. Until the request is on its
// way the wait ends at `connectEnd`, then at the answer's deadline; past either it throws HopError. The
// caller then closes the request, which cancels what WinHTTP still does.
void Await(Exchange& x, DWORD expected, HttpDeadlines& deadlines, HttpClock::time_point connectEnd) {
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(x.mutex);
            if (x.sentAt) deadlines.RequestSent(*x.sentAt);
            if (x.completed == WINHTTP_CALLBACK_STATUS_REQUEST_ERROR) {
                if (x.error == ERROR_WINHTTP_HEADER_SIZE_OVERFLOW)
                    throw HopError(HopError::Kind::HeaderTooLarge, LibraryText(x.error));
                throw HttpError(ErrorText(x.error, x.certificateFlags));
            }
            if (x.completed == expected) {
                x.completed = 0;
                return;
            }
        }
        bool answering = deadlines.AnswerStarted();
        HttpClock::time_point end = answering ? deadlines.End() : std::min(connectEnd, deadlines.End());
        // The deadline is ours, not an error of WinHTTP's: the words are ours too.
        if (HttpClock::now() >= end)
            throw HopError(answering ? HopError::Kind::AnswerTimeout : HopError::Kind::ConnectTimeout,
                           NetworkFailureText(NetworkFailure::TimedOut));
        ::WaitForSingleObject(x.signal.get(), static_cast<DWORD>(RemainingMs(end)));
    }
}

// A header of the answer as text, or nothing when the answer has none.
std::optional<std::wstring> QueryHeader(HINTERNET request, DWORD which) {
    DWORD bytes = 0;
    ::WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes,
                          WINHTTP_NO_HEADER_INDEX);
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    // The whole header was checked against kMaxHeaderBytes first, which bounds this too.
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!::WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes,
                               WINHTTP_NO_HEADER_INDEX))
        return std::nullopt;
    text.resize(bytes / sizeof(wchar_t));
    return text;
}

// WinHTTP made the reason phrase's bytes UTF-16. When each still fits a byte they are taken back as
// bytes, so that the phrase is read as UTF-8 or Windows-1252 just as it is from curl.
std::string ReasonPhrase(const std::wstring& wide) {
    std::string bytes;
    for (wchar_t c : wide) {
        if (c > 0xFF) return BoundedReasonPhrase(Utf8(wide));
        bytes += static_cast<char>(c);
    }
    return BoundedReasonPhrase(bytes);
}

InternetHandle OpenSession(const std::string& userAgent) {
    std::wstring agent = Wide(userAgent);
    const wchar_t* name = agent.empty() ? nullptr : agent.c_str();
    // The system's proxy settings as the user set them (Windows 8.1 and later), else WinHTTP's own.
    InternetHandle session(::WinHttpOpen(name, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                         WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
    if (!session)
        session.reset(::WinHttpOpen(name, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
    if (!session) ThrowLastError();
    return session;
}

void SetOption(HINTERNET handle, DWORD option, DWORD value) {
    if (!::WinHttpSetOption(handle, option, &value, sizeof value)) ThrowLastError();
}

void ConfigureRequest(HINTERNET request) {
    SetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER);
    // One request per connection: without keep-alive no "Connection" header goes out, so the request
    // carries Host and User-Agent only. No cookies, no log-on with the user's credentials.
    SetOption(request, WINHTTP_OPTION_DISABLE_FEATURE,
              WINHTTP_DISABLE_KEEP_ALIVE | WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_AUTHENTICATION);
    SetOption(request, WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE, static_cast<DWORD>(kMaxHeaderBytes));
}

class WinHttpHop : public HttpHop {
  public:
    HopAnswer Get(const std::string& url, const HttpOptions& options, HttpDeadlines& deadlines) override {
        const HttpClock::time_point connectEnd = deadlines.ConnectEnd();
        Url target = ParseUrl(url);
        InternetHandle session = OpenSession(options.userAgent);
        // WinHTTP's own limits only bound the threads it may leave behind after a cancel; ours rule.
        int connectMs = static_cast<int>(RemainingMs(connectEnd));
        int endMs = static_cast<int>(RemainingMs(deadlines.End()));
        ::WinHttpSetTimeouts(session.get(), connectMs, connectMs, endMs, endMs);
        InternetHandle connection(::WinHttpConnect(session.get(), Wide(target.HostName()).c_str(),
                                                   static_cast<INTERNET_PORT>(target.PortNumber()), 0));
        if (!connection) ThrowLastError();
        // The target is already percent-encoded: WinHTTP must not encode it again.
        DWORD flags = WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY |
                      (target.scheme == "https" ? WINHTTP_FLAG_SECURE : 0);
        InternetHandle request(::WinHttpOpenRequest(connection.get(), L"GET", Wide(target.Target()).c_str(),
                                                    nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                    flags));
        if (!request) ThrowLastError();
        ConfigureRequest(request.get());

        auto exchange = std::make_shared<Exchange>();
        if (!exchange->signal) ThrowLastError();
        DWORD_PTR context = Attach(request.get(), exchange);
        if (!::WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                                  0, context))
            ThrowLastError();
        Await(*exchange, WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE, deadlines, connectEnd);
        if (!::WinHttpReceiveResponse(request.get(), nullptr)) ThrowLastError();
        Await(*exchange, WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE, deadlines, connectEnd);

        HopAnswer answer;
        ReadHeaders(request.get(), target, answer);
        ReadBody(request.get(), *exchange, options.maxBodyBytes, deadlines, connectEnd, answer.response);
        return answer;
    }

  private:
    // Hands WinHTTP's callback its own reference to the exchange, released when the request is closed;
    // returns the context value that carries it.
    static DWORD_PTR Attach(HINTERNET request, const ExchangeKeeper& exchange) {
        DWORD notifications = WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES |
                              WINHTTP_CALLBACK_FLAG_SEND_REQUEST | WINHTTP_CALLBACK_FLAG_SECURE_FAILURE;
        if (::WinHttpSetStatusCallback(request, OnStatus, notifications, 0) ==
            WINHTTP_INVALID_STATUS_CALLBACK)
            ThrowLastError();
        auto keeper = std::make_unique<ExchangeKeeper>(exchange);
        auto context = reinterpret_cast<DWORD_PTR>(keeper.get());
        if (!::WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context))
            ThrowLastError();
        return reinterpret_cast<DWORD_PTR>(keeper.release());  // from here on the callback deletes it
    }

    static void ReadHeaders(HINTERNET request, const Url& target, HopAnswer& answer) {
        // Where WinHTTP does not enforce its limit (Wine), the size of what it kept is checked here.
        DWORD bytes = 0;
        ::WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                              WINHTTP_NO_OUTPUT_BUFFER, &bytes, WINHTTP_NO_HEADER_INDEX);
        if (bytes / sizeof(wchar_t) > kMaxHeaderBytes)
            throw HopError(HopError::Kind::HeaderTooLarge, LibraryText(ERROR_WINHTTP_HEADER_SIZE_OVERFLOW));
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                   WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
            status > 999)
            throw HttpError(ErrorText(ERROR_WINHTTP_INVALID_SERVER_RESPONSE));
        answer.response.status = static_cast<int>(status);
        std::optional<std::wstring> reason = QueryHeader(request, WINHTTP_QUERY_STATUS_TEXT);
        answer.response.reason = reason && !reason->empty() ? ReasonPhrase(*reason) : "";
        if (answer.response.reason.empty())
            answer.response.reason = StandardReasonPhrase(answer.response.status);
        if (IsFollowedRedirect(answer.response.status))
            if (std::optional<std::wstring> location = QueryHeader(request, WINHTTP_QUERY_LOCATION))
                answer.location = ResolveReference(target, Utf8(*location));
    }

    static void ReadBody(HINTERNET request, Exchange& x, std::size_t maxBodyBytes, HttpDeadlines& deadlines,
                         HttpClock::time_point connectEnd, HttpResponse& response) {
        for (;;) {
            // One byte more than the limit allows tells a body that is too long.
            std::size_t room = maxBodyBytes - response.body.size();
            DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(x.buffer.size(), room + 1));
            if (!::WinHttpReadData(request, x.buffer.data(), wanted, nullptr)) ThrowLastError();
            Await(x, WINHTTP_CALLBACK_STATUS_READ_COMPLETE, deadlines, connectEnd);
            std::size_t got = std::min<std::size_t>(x.bytesRead, wanted);
            if (got == 0) return;
            if (got > room) {
                response.body.append(x.buffer.data(), room);
                response.bodyTooLarge = true;
                return;
            }
            response.body.append(x.buffer.data(), got);
        }
    }
};

}  // namespace

std::unique_ptr<HttpHop> MakeSystemHttpHop() {
    return std::make_unique<WinHttpHop>();
}

}  // namespace calvorin
