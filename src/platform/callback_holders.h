// Objects the client library calls back into: CCallback and CCallResult.
#pragma once

#include "platform/client_calls.h"
#include "platform/steam_types.h"

namespace steambridge {

// The library reads these fields and calls the three table entries by slot,
// so their order and this class's layout are part of its binary interface.
// The MSVC-built Windows library and the GCC-built Linux one disagree on the
// order of the two Run forms. There is no virtual destructor: it would take
// a slot. The base entries do nothing (a pure virtual would drag the C++
// runtime's terminate machinery into the DLL).
class CCallbackBase {
public:
    static constexpr unsigned char kRegisteredFlag = 0x01;

#if defined(_WIN32)
    virtual void Run(void* /*record*/, bool /*ioFailure*/, SteamAPICall_t /*call*/) {}
    virtual void Run(void* /*record*/) {}
#else
    virtual void Run(void* /*record*/) {}
    virtual void Run(void* /*record*/, bool /*ioFailure*/, SteamAPICall_t /*call*/) {}
#endif
    virtual int GetCallbackSizeBytes() { return 0; }

    bool IsRegistered() const { return (m_nCallbackFlags & kRegisteredFlag) != 0; }
    int CallbackId() const { return m_iCallback; }

protected:
    CCallbackBase() = default;
    explicit CCallbackBase(int callbackId) : m_iCallback(callbackId) {}
    CCallbackBase(const CCallbackBase&) = delete;
    CCallbackBase& operator=(const CCallbackBase&) = delete;
    ~CCallbackBase() = default;

    unsigned char m_nCallbackFlags = 0;
    int m_iCallback = 0;

    friend struct HolderLayout;
};

// A callback: the library writes the id and the registered flag when it is
// registered, and clears the flag when it is unregistered.
template <class Owner, class Record>
class CCallback final : public CCallbackBase {
public:
    using Handler = void (Owner::*)(Record* record);

    CCallback(Owner* owner, Handler handler) : owner_(owner), handler_(handler) {}

    void Register() { client::RegisterCallback(this, Record::k_iCallback); }
    void Unregister() { client::UnregisterCallback(this); }

    void Run(void* record, bool, SteamAPICall_t) override { Deliver(record); }
    void Run(void* record) override { Deliver(record); }
    int GetCallbackSizeBytes() override { return static_cast<int>(sizeof(Record)); }

private:
    void Deliver(void* record) { (owner_->*handler_)(static_cast<Record*>(record)); }

    Owner* owner_;
    Handler handler_;
};

// The answer to one asynchronous call. It holds its id from construction and
// at most one pending call handle; the library never touches its fields.
template <class Owner, class Record>
class CCallResult final : public CCallbackBase {
public:
    using Handler = void (Owner::*)(Record* record, bool ioFailure);

    CCallResult(Owner* owner, Handler handler)
        : CCallbackBase(Record::k_iCallback), owner_(owner), handler_(handler) {}

    // A pending call is dropped first; a call handle of 0 is not registered.
    void Set(SteamAPICall_t call) {
        Cancel();
        pendingCall_ = call;
        if (call != 0) client::RegisterCallResult(this, call);
    }
    void Cancel() {
        if (pendingCall_ != 0) {
            client::UnregisterCallResult(this, pendingCall_);
            pendingCall_ = 0;
        }
    }
    bool IsPending() const { return pendingCall_ != 0; }
    SteamAPICall_t PendingCall() const { return pendingCall_; }

    void Run(void* record, bool ioFailure, SteamAPICall_t call) override {
        if (call != pendingCall_) return;
        pendingCall_ = 0;
        (owner_->*handler_)(static_cast<Record*>(record), ioFailure);
    }
    void Run(void* record) override {
        pendingCall_ = 0;
        (owner_->*handler_)(static_cast<Record*>(record), false);
    }
    int GetCallbackSizeBytes() override { return static_cast<int>(sizeof(Record)); }

private:
    Owner* owner_;
    Handler handler_;
    SteamAPICall_t pendingCall_ = 0;
};

// Pins the holder prefix that the library reads.
struct HolderLayout {
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
#if defined(_WIN32) && !defined(_WIN64)
    static_assert(offsetof(CCallbackBase, m_nCallbackFlags) == 4, "holder flags");
    static_assert(offsetof(CCallbackBase, m_iCallback) == 8, "holder id");
    static_assert(sizeof(CCallbackBase) == 12, "holder size");
#else
    static_assert(offsetof(CCallbackBase, m_nCallbackFlags) == 8, "holder flags");
    static_assert(offsetof(CCallbackBase, m_iCallback) == 12, "holder id");
    static_assert(sizeof(CCallbackBase) == 16, "holder size");
#endif
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
};

}  // namespace steambridge
