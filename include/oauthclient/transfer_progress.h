// The HTTP client component's progress export: a process-wide observer of the response bodies it receives.
#ifndef OAUTHCLIENT_TRANSFER_PROGRESS_H
#define OAUTHCLIENT_TRANSFER_PROGRESS_H

#include <cstdint>

namespace OAuthClient {

// Called on the thread that runs a transfer, each time a piece of a response body has arrived, with the bytes of
// that answer's body received so far (a redirect's or a retried answer's body starts again from its first piece).
// Calls are serialised; the observer must return quickly and must not call SetTransferProgressObserver.
using TransferProgressObserver = void (*)(void* context, std::uint64_t bodyBytesReceived);

// The type of the component's extern "C" export "SetTransferProgressObserver". It replaces the process-wide
// observer (null removes it); once it returns, the previous observer is not called again, so its context may end.
// Every transfer of every client object of the process reports to it. Libcurl transport and WinHTTP transport
// alike call it from their body loops. A host looks the export up in the component module it loads itself
// ("zqhttpclient.dll", libzqhttpclient.so on POSIX), which is the module the library uses when both are found by
// the same search; a component without the export simply reports nothing.
using SetTransferProgressObserverFunction = void (*)(TransferProgressObserver observer, void* context);

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_TRANSFER_PROGRESS_H
