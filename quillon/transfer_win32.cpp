#include "quillon/transfer_win32.h"

#include <optional>
#include <string_view>
#include <utility>

#include "quillon/handles_win32.h"
#include "quillon/update_address.h"

namespace {

constexpr wchar_t kUserAgent[] = L"Quillon/1.0";
constexpr DWORD kReadChunk = 16 * 1024;
constexpr DWORD kTls12AndLater = 0x00000800 | 0x00002000;   // TLS 1.2, TLS 1.3

std::wstring Widen(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

TransferResult Failure(TransferStatus status, DWORD detail = 0) {
    TransferResult result;
    result.status = status;
    result.detail = detail;
    return result;
}

TransferResult NetworkFailure(const TransferCancel& cancel) {
    if (cancel.Cancelled()) return Failure(TransferStatus::Cancelled);
    return Failure(TransferStatus::NetworkError, GetLastError());
}

std::optional<DWORD> NumberHeader(HINTERNET request, DWORD query) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!WinHttpQueryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                             &value, &size, WINHTTP_NO_HEADER_INDEX)) {
        return std::nullopt;
    }
    return value;
}

// The Location header as UTF-8 (a non-ASCII address is refused later).
std::string LocationHeader(HINTERNET request) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (size == 0 || size > 2 * (kAddressMaxBytes + 1) * sizeof(wchar_t)) return std::string();
    std::wstring wide(size / sizeof(wchar_t) + 1, L'\0');
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, &wide[0],
                             &size, WINHTTP_NO_HEADER_INDEX)) {
        return std::string();
    }
    wide.resize(size / sizeof(wchar_t));
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], n, nullptr,
                            nullptr);
    }
    return text;
}

// Reads the body of an answered request into target.
TransferResult ReadBody(HINTERNET request, const TransferTarget& target, TransferCancel& cancel,
                        const TransferProgress& progress) {
    const uint64_t total = NumberHeader(request, WINHTTP_QUERY_CONTENT_LENGTH).value_or(0);
    if (total > target.limit) return Failure(TransferStatus::TooLarge);
    TransferResult result;
    std::string chunk(kReadChunk, '\0');
    if (progress) progress(0, total);
    while (true) {
        if (cancel.Cancelled()) return Failure(TransferStatus::Cancelled);
        DWORD got = 0;
        if (!WinHttpReadData(request, &chunk[0], kReadChunk, &got)) return NetworkFailure(cancel);
        if (got == 0) break;
        if (got > target.limit - result.received) return Failure(TransferStatus::TooLarge);
        if (target.memory) {
            target.memory->append(chunk.data(), got);
        } else {
            DWORD written = 0;
            if (!WriteFile(target.file, chunk.data(), got, &written, nullptr) || written != got) {
                return Failure(TransferStatus::WriteFailed, GetLastError());
            }
        }
        result.received += got;
        if (progress) progress(result.received, total);
    }
    if (cancel.Cancelled()) return Failure(TransferStatus::Cancelled);
    return result;
}

// One hop: connects to address and either reads the body or answers the
// next address in *redirect.
TransferResult OneRequest(const UpdateAddress& address, const TransferTarget& target, TransferCancel& cancel,
                          const TransferProgress& progress, std::string* redirect) {
    // Loopback needs no proxy, and a proxy must not see test traffic.
    const bool loopback = !address.secure;
    win32::ScopedInternet session(WinHttpOpen(
        kUserAgent, loopback ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
        WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return NetworkFailure(cancel);
    WinHttpSetTimeouts(session.Get(), kConnectTimeoutMs, kConnectTimeoutMs, kIdleTimeoutMs, kIdleTimeoutMs);
    DWORD protocols = kTls12AndLater;
    WinHttpSetOption(session.Get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);

    win32::ScopedInternet connection(
        WinHttpConnect(session.Get(), Widen(address.host).c_str(), address.port, 0));
    if (!connection) return NetworkFailure(cancel);
    win32::ScopedInternet request(WinHttpOpenRequest(
        connection.Get(), L"GET", Widen(address.path).c_str(), nullptr, WINHTTP_NO_REFERER,
        WINHTTP_DEFAULT_ACCEPT_TYPES, address.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) return NetworkFailure(cancel);
    // Every redirect is checked here before it is followed.
    DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
    if (!WinHttpSetOption(request.Get(), WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects)) {
        return NetworkFailure(cancel);
    }

    // From here the handle is used while lent; a cancel may close it.
    const HINTERNET lent = request.Get();
    if (!cancel.Lend(request)) return Failure(TransferStatus::Cancelled);
    TransferResult result;
    if (!WinHttpSendRequest(lent, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(lent, nullptr)) {
        result = NetworkFailure(cancel);
    } else {
        const DWORD status = NumberHeader(lent, WINHTTP_QUERY_STATUS_CODE).value_or(0);
        const std::string location = IsRedirect(status) ? LocationHeader(lent) : std::string();
        if (!location.empty()) {
            *redirect = ResolveLocation(address, location);
        } else if (status != HTTP_STATUS_OK) {
            result = Failure(TransferStatus::HttpStatus, status);
        } else {
            result = ReadBody(lent, target, cancel, progress);
        }
    }
    request = cancel.TakeBack();
    return result;
}

}  // namespace

TransferCancel::TransferCancel() { InitializeCriticalSection(&lock_); }

TransferCancel::~TransferCancel() { DeleteCriticalSection(&lock_); }

void TransferCancel::Cancel() {
    EnterCriticalSection(&lock_);
    cancelled_ = true;
    lent_.Reset();
    LeaveCriticalSection(&lock_);
}

bool TransferCancel::Lend(win32::ScopedInternet& request) {
    EnterCriticalSection(&lock_);
    const bool lent = !cancelled_;
    if (lent) lent_ = std::move(request);
    LeaveCriticalSection(&lock_);
    return lent;
}

win32::ScopedInternet TransferCancel::TakeBack() {
    EnterCriticalSection(&lock_);
    win32::ScopedInternet request = std::move(lent_);
    LeaveCriticalSection(&lock_);
    return request;
}

TransferResult Transfer(const std::string& address, const TransferTarget& target, TransferCancel& cancel,
                        const TransferProgress& progress) {
    std::string next = address;
    for (int hop = 0; hop <= kMaxRedirects; ++hop) {
        const std::optional<UpdateAddress> allowed = AllowedAddress(next);
        if (!allowed) {
            TransferResult refused = Failure(TransferStatus::Refused);
            refused.refusedAddress = next;
            return refused;
        }
        std::string redirect;
        TransferResult result = OneRequest(*allowed, target, cancel, progress, &redirect);
        if (redirect.empty()) return result;
        next = std::move(redirect);
    }
    return Failure(TransferStatus::TooManyRedirects);
}
