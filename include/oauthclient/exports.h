// The functions that liboauthclient.so / oauthclient.dll exports by plain (unmangled) name.
#ifndef OAUTHCLIENT_EXPORTS_H
#define OAUTHCLIENT_EXPORTS_H

#include <cstdint>

#include "oauthclient/oauth_client.h"
#include "oauthclient/oauth_request.h"
#include "oauthclient/token_request.h"
#include "oauthclient/wide_char.h"

#if defined(_WIN32)
#if defined(OAUTHCLIENT_BUILDING_LIBRARY)
#define OAUTHCLIENT_API __declspec(dllexport)
#else
#define OAUTHCLIENT_API __declspec(dllimport)
#endif
#else
#define OAUTHCLIENT_API __attribute__((visibility("default")))
#endif

extern "C" {

// Returns a new client facade; never null. The host ends it with Release.
OAUTHCLIENT_API OAuthClient::IOAuthClient* CreateOAuthClient();
// Returns a new, empty resource request; never null. The host ends it with Release.
OAUTHCLIENT_API OAuthClient::IOAuthRequest* CreateOAuthRequest();
// Returns a new, empty token request; never null. The host ends it with Release.
OAUTHCLIENT_API OAuthClient::ITokenRequest* CreateTokenRequest();
// Returns the library's message for an id (0: secureProtocol out of range, 1: ignoreServerCert out of range), or
// an empty text for any other id; never null. The text belongs to the library and lives while it is loaded.
OAUTHCLIENT_API const OAuthClient::WideChar* LoadIDString(std::int32_t id);
// Chooses the language of LoadIDString's texts: 1 Japanese, 2 Danish, 3 Dutch, 4 French, 5 German, 6 Italian,
// 7 Norwegian, 8 Spanish, 9 Swedish, 10 Simplified Chinese, any other value English (the default). The table is
// built once, at the first LoadIDString call, so call this before it; a later call has no effect.
OAUTHCLIENT_API void SetMessageLanguage(std::uint32_t languageCode);

}  // extern "C"

namespace OAuthClient {

// Types of the exports, for hosts that look them up with dlsym / GetProcAddress. Typedefs, not `using`: only a
// declaration inside extern "C" gives the function type C language linkage.
// NOLINTBEGIN(modernize-use-using)
extern "C" typedef IOAuthClient* (*CreateOAuthClientFunction)();
extern "C" typedef IOAuthRequest* (*CreateOAuthRequestFunction)();
extern "C" typedef ITokenRequest* (*CreateTokenRequestFunction)();
extern "C" typedef const WideChar* (*LoadIDStringFunction)(std::int32_t);
extern "C" typedef void (*SetMessageLanguageFunction)(std::uint32_t);
// NOLINTEND(modernize-use-using)

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_EXPORTS_H
