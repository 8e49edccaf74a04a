// The shipped offline client, loaded as Valve's library loads it, walked
// through its own generated tables: every interface version of every release
// is handed out, every text getter answers a text, a made-up version is
// refused, and every method of every interface survives the arguments a
// careless game passes (null pointers and zero counts; empty texts and huge
// counts with a large buffer).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "interface_tables.h"

namespace {

struct Slot {
    int itaniumSlot;
    const char* name;
    const char* kind;
    int objectSize;
    const char* returnType;
};

struct Interface {
    const char* version;
    const char* className;
    std::vector<Slot> slots;
};

#define CLIENT_TEST_SLOT(Msvc, Itanium, Name, Bytes, Kind, ObjectSize, ReturnType) \
    {Itanium, #Name, #Kind, ObjectSize, ReturnType},
#define CLIENT_TEST_INTERFACE(Id, Version, Class, SlotCount) \
    {Version, #Class, {STEAM_CLIENT_SLOTS_##Id(CLIENT_TEST_SLOT)}},
const std::vector<Interface> kInterfaces = {STEAM_CLIENT_INTERFACES(CLIENT_TEST_INTERFACE)};
#undef CLIENT_TEST_INTERFACE
#undef CLIENT_TEST_SLOT

struct Release {
    const char* label;
    std::vector<std::string> versions;
};

std::vector<Release> Releases() {
    std::vector<Release> releases;
#define CLIENT_TEST_RELEASE(Label, HasStartList, List)                  \
    {                                                                   \
        Release release{Label, {}};                                     \
        static const char list[] = List;                                \
        for (const char* v = list; *v != '\0'; v += std::strlen(v) + 1) \
            release.versions.emplace_back(v);                           \
        releases.push_back(release);                                    \
    }
    STEAM_CLIENT_RELEASES(CLIENT_TEST_RELEASE)
#undef CLIENT_TEST_RELEASE
    return releases;
}

// Integer-class arguments: the object, then ten words (the rest of any
// method's arguments, in registers and on the stack).
using Word = std::uintptr_t;
using Call = Word (*)(void*, Word, Word, Word, Word, Word, Word, Word, Word, Word, Word);
using CallSmallObject = std::pair<Word, Word> (*)(void*, Word, Word, Word, Word, Word, Word, Word,
                                                  Word, Word, Word);
using CallLargeObject = void* (*)(void*, void*, Word, Word, Word, Word, Word, Word, Word, Word,
                                  Word, Word);
using CreateInterfaceFunction = void* (*)(const char*, int*);
using IsKnownFunction = bool (*)(const char*);

class ClientInterfaces : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library_ = dlopen(STEAMBRIDGE_OFFLINE_CLIENT, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library_, nullptr) << dlerror();
        auto create = reinterpret_cast<CreateInterfaceFunction>(dlsym(library_, "CreateInterface"));
        ASSERT_NE(create, nullptr);
        client_ = create("SteamClient023", nullptr);
        ASSERT_NE(client_, nullptr);
        pipe_ = static_cast<int>(Method(client_, "ISteamClient", "CreateSteamPipe")(
            client_, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
        user_ = static_cast<int>(Method(client_, "ISteamClient", "ConnectToGlobalUser")(
            client_, static_cast<Word>(pipe_), 0, 0, 0, 0, 0, 0, 0, 0, 0));
        ASSERT_NE(user_, 0);
    }

    // The entry of the object's table the Itanium ABI puts `name` at.
    static Call Method(void* object, const char* className, const char* name) {
        for (const Interface& face : kInterfaces) {
            if (std::strcmp(face.className, className) != 0) continue;
            for (const Slot& slot : face.slots)
                if (std::strcmp(slot.name, name) == 0)
                    return reinterpret_cast<Call>(
                        (*static_cast<void* const* const*>(object))[slot.itaniumSlot]);
        }
        return nullptr;
    }

    static void* Generic(const char* version) {
        return reinterpret_cast<void*>(Method(client_, "ISteamClient", "GetISteamGenericInterface")(
            client_, static_cast<Word>(user_), static_cast<Word>(pipe_),
            reinterpret_cast<Word>(version), 0, 0, 0, 0, 0, 0, 0));
    }

    // Calls one slot with every argument word `word`; the text it answers
    // when it is a text getter.
    static const char* CallSlot(void* object, const Slot& slot, Word word) {
        void* entry = (*static_cast<void* const* const*>(object))[slot.itaniumSlot];
        std::vector<unsigned char> result(4096);
        if (std::strcmp(slot.kind, "Object") == 0) {
            if (slot.objectSize > 16)
                reinterpret_cast<CallLargeObject>(entry)(result.data(), object, word, word, word,
                                                         word, word, word, word, word, word, word);
            else
                reinterpret_cast<CallSmallObject>(entry)(object, word, word, word, word, word, word,
                                                         word, word, word, word);
            return nullptr;
        }
        const Word answer = reinterpret_cast<Call>(entry)(object, word, word, word, word, word,
                                                          word, word, word, word, word);
        return std::strcmp(slot.returnType, "text") == 0 ? reinterpret_cast<const char*>(answer)
                                                         : nullptr;
    }

    static void* library_;
    static void* client_;
    static int pipe_;
    static int user_;
};

void* ClientInterfaces::library_ = nullptr;
void* ClientInterfaces::client_ = nullptr;
int ClientInterfaces::pipe_ = 0;
int ClientInterfaces::user_ = 0;

TEST_F(ClientInterfaces, EveryVersionEveryReleaseAsksForIsHandedOut) {
    for (const Release& release : Releases())
        for (const std::string& version : release.versions)
            EXPECT_NE(Generic(version.c_str()), nullptr) << release.label << ": " << version;
    auto isKnown = reinterpret_cast<IsKnownFunction>(dlsym(library_, "Steam_IsKnownInterface"));
    ASSERT_NE(isKnown, nullptr);
    for (const Interface& face : kInterfaces) EXPECT_TRUE(isKnown(face.version)) << face.version;
}

TEST_F(ClientInterfaces, AMadeUpVersionIsRefused) {
    EXPECT_EQ(Generic("SteamMadeUp001"), nullptr);
    auto create = reinterpret_cast<CreateInterfaceFunction>(dlsym(library_, "CreateInterface"));
    int code = 0;
    EXPECT_EQ(create("SteamClient999", &code), nullptr);
    EXPECT_NE(code, 0);
    auto isKnown = reinterpret_cast<IsKnownFunction>(dlsym(library_, "Steam_IsKnownInterface"));
    EXPECT_FALSE(isKnown("SteamMadeUp001"));
}

// Each method of each interface but the client's own (which opens and closes
// the session), with null pointers and zero counts, then with every argument
// the address of a large zeroed buffer: an empty text, a huge count, an
// invalid handle. Text getters answer a text either way.
TEST_F(ClientInterfaces, EveryMethodSurvivesCarelessArgumentsAndTextsAreNeverNull) {
    std::vector<unsigned char> buffer(1 << 16);
    for (const Interface& face : kInterfaces) {
        if (std::strcmp(face.className, "ISteamClient") == 0) continue;
        void* object = Generic(face.version);
        ASSERT_NE(object, nullptr) << face.version;
        for (const Slot& slot : face.slots) {
            if (std::strstr(slot.name, "Destructor") != nullptr) continue;
            for (Word word : {Word{0}, reinterpret_cast<Word>(buffer.data())}) {
                std::memset(buffer.data(), 0, buffer.size());
                const char* text = CallSlot(object, slot, word);
                if (std::strcmp(slot.returnType, "text") == 0)
                    EXPECT_NE(text, nullptr) << face.version << "::" << slot.name;
            }
        }
    }
}

}  // namespace
