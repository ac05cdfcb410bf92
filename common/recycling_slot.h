// RecyclingSlot: where an object made and released once per request waits for the next request.
#ifndef OAUTHCLIENT_COMMON_RECYCLING_SLOT_H
#define OAUTHCLIENT_COMMON_RECYCLING_SLOT_H

#include <atomic>

namespace OAuthClient {

// Holds at most one released object of a kind that each request makes and the host releases (an HTTP client
// object, a response), so that the next request takes it, with the storage its buffers kept, instead of
// allocating it and them again. One slot serves every thread without a lock: Take and Park are single atomic
// operations, and a thread that finds the slot taken (or empty) just deletes (or makes) its object as without it.
// The owner resets an object to its state as new before parking it; what it held of the request is its to wipe.
//
// A slot is a namespace-scope object of the library that defines the kind. Its destructor, which runs when that
// library is unloaded (a host may load and unload it many times) or the process ends, deletes the object parked
// there; the kind makes the slot a friend when its constructor or destructor is private.
template <typename Object>
class RecyclingSlot {
 public:
  constexpr RecyclingSlot() = default;
  RecyclingSlot(const RecyclingSlot&) = delete;
  RecyclingSlot& operator=(const RecyclingSlot&) = delete;
  ~RecyclingSlot() { delete Take(); }

  // Returns the parked object, or null when none is parked.
  Object* Take() { return parked_.exchange(nullptr, std::memory_order_acquire); }
  // Returns the parked object, or a new one, once `fill` has run on it. When `fill` throws, the object is released
  // (its Release parks or deletes it) and the exception passes on. A new object throws std::bad_alloc.
  template <typename Fill>
  Object* TakeFilled(Fill&& fill) {
    Object* object = Take();
    if (object == nullptr) object = new Object();
    try {
      fill(*object);
    } catch (...) {
      object->Release();
      throw;
    }
    return object;
  }
  // Parks `object` and returns true when the slot is empty; returns false (the caller deletes it) otherwise.
  bool Park(Object* object) {
    Object* empty = nullptr;
    return parked_.compare_exchange_strong(empty, object, std::memory_order_release, std::memory_order_relaxed);
  }

 private:
  std::atomic<Object*> parked_{nullptr};
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_RECYCLING_SLOT_H
