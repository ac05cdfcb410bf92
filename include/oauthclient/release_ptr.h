// ReleasePtr: the owner of an object that ends through its Release slot, for hosts and tests.
#ifndef OAUTHCLIENT_RELEASE_PTR_H
#define OAUTHCLIENT_RELEASE_PTR_H

#include <memory>

namespace OAuthClient {

// Calls Release on the object (never delete: the object was made inside the library, by its allocator).
struct ReleaseObject {
  template <typename Interface>
  void operator()(Interface* object) const {
    if (object != nullptr) object->Release();
  }
};

// Owns an object from a factory or an out-pointer and calls its Release when it goes: ReleasePtr<ITokenRequest>
// request(CreateTokenRequest()); use request.get() where the interfaces take the raw pointer.
template <typename Interface>
using ReleasePtr = std::unique_ptr<Interface, ReleaseObject>;

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_RELEASE_PTR_H
