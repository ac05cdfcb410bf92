// Everything a host needs: the interfaces, the body encoding codes and the library's exports.
//
// Ownership at a glance: the host owns every object it gets from a factory or through an out-pointer of
// RequestToken / RequestResource and ends it with its Release (a ReleasePtr does that when it goes). Texts handed
// out by getters belong to the object.
// The only copies the host owns are those of GetStringTriple / GetStringPair: free them with FreeCallerCopy
// (oauthclient/caller_copy.h), which is CoTaskMemFree on Windows and free on POSIX.
#ifndef OAUTHCLIENT_OAUTHCLIENT_H
#define OAUTHCLIENT_OAUTHCLIENT_H

#include "oauthclient/caller_copy.h"
#include "oauthclient/exports.h"
#include "oauthclient/oauth_client.h"
#include "oauthclient/oauth_request.h"
#include "oauthclient/release_ptr.h"
#include "oauthclient/resource_response.h"
#include "oauthclient/text_encoding.h"
#include "oauthclient/token_request.h"
#include "oauthclient/token_response.h"
#include "oauthclient/wide_char.h"

#endif  // OAUTHCLIENT_OAUTHCLIENT_H
