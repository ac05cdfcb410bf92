// The process-wide observer of received response bodies, set through the SetTransferProgressObserver export.
#ifndef ZQHTTPCLIENT_TRANSFER_PROGRESS_H
#define ZQHTTPCLIENT_TRANSFER_PROGRESS_H

#include <cstdint>

#include "oauthclient/transfer_progress.h"

namespace OAuthClient::Http {

// Replaces the observer (null removes it); waits for a call in progress, so the old context may end on return.
void SetProgressObserver(TransferProgressObserver observer, void* context);

// Tells the observer, if any, that an answer's body has reached `bodyBytesReceived` bytes. Costs one atomic load
// when no observer is set, which is how the library's hosts run.
void ReportBodyProgress(std::uint64_t bodyBytesReceived);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_TRANSFER_PROGRESS_H
