// Tests of the text layer: WideText, UTF-8 conversion and host buffers.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "host_support/utf_reference.h"
#include "text/platform_conversion.h"
#include "text/text_copy.h"
#include "text/wide_text.h"

// A block bigger than any there is must come back null here, as it does
// without a sanitizer, whatever ASAN_OPTIONS the run was given.
#if defined(__SANITIZE_ADDRESS__)
#define STEAMBRIDGE_TEXT_TESTS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STEAMBRIDGE_TEXT_TESTS_ASAN 1
#endif
#endif
#ifdef STEAMBRIDGE_TEXT_TESTS_ASAN
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

namespace steambridge {
namespace {

constexpr char16_t kGuard = 0xBEEF;

std::u16string Units(const char16_t* units, std::size_t count) {
    return std::u16string(units, count);
}

struct Utf8Case {
    const char* name;
    const char* bytes;
    int byteCount;
    const char16_t* units;
    int unitCount;
    // Wine's converter draws other boundaries here (see the Windows tests).
    bool wineDiffers = false;
};

// Sizes come from the literals, so embedded NULs and empty strings count right.
template <std::size_t B, std::size_t U>
constexpr Utf8Case Case(const char* name, const char (&bytes)[B], const char16_t (&units)[U]) {
    return {name, bytes, static_cast<int>(B - 1), units, static_cast<int>(U - 1)};
}
template <std::size_t B, std::size_t U>
constexpr Utf8Case WineDiffers(const char* name, const char (&bytes)[B],
                               const char16_t (&units)[U]) {
    return {name, bytes, static_cast<int>(B - 1), units, static_cast<int>(U - 1), true};
}

// Expected units follow the Unicode standard: one U+FFFD for each maximal
// subpart of an ill-formed sequence (chapter 3, Table 3-7 for what is well
// formed), which Windows' MultiByteToWideChar(CP_UTF8, 0) follows too. The same
// table runs in the Windows build against the system converter; there, under
// Wine, the cases Wine draws other boundaries for are skipped (Wine is not the
// reference).
constexpr Utf8Case kUtf8Cases[] = {
    Case("empty", "", u""),
    Case("ascii", "Hello, world", u"Hello, world"),
    Case("nul byte is a character", "a\0b", u"a\0b"),
    Case("two-byte lowest", "\xC2\x80", u"\x0080"),
    Case("two-byte e acute", "caf\xC3\xA9", u"caf\x00E9"),
    Case("two-byte highest", "\xDF\xBF", u"\x07FF"),
    Case("three-byte lowest", "\xE0\xA0\x80", u"\x0800"),
    Case("three-byte euro", "\xE2\x82\xAC", u"\x20AC"),
    Case("below surrogates", "\xED\x9F\xBF", u"\xD7FF"),
    Case("above surrogates", "\xEE\x80\x80", u"\xE000"),
    Case("U+FFFE", "\xEF\xBF\xBE", u"\xFFFE"),
    Case("U+FFFF", "\xEF\xBF\xBF", u"\xFFFF"),
    Case("four-byte lowest", "\xF0\x90\x80\x80", u"\xD800\xDC00"),
    Case("U+10437 pair", "\xF0\x90\x90\xB7", u"\xD801\xDC37"),
    Case("emoji pair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"),
    Case("U+10FFFF", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"),
    Case("mixed widths", "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80Z", u"A\x00E9\x20AC\xD83D\xDE00Z"),
    // Overlong forms: C0 and C1 never start a sequence; E0 and F0 with a
    // second byte that makes them overlong are a subpart of one byte.
    Case("overlong C0 80", "\xC0\x80", u"\xFFFD\xFFFD"),
    Case("overlong C1 BF", "\xC1\xBF", u"\xFFFD\xFFFD"),
    Case("overlong C0 then ascii",
         "\xC0"
         "A",
         u"\xFFFD"
         "A"),
    WineDiffers("overlong E0 80 80", "\xE0\x80\x80", u"\xFFFD\xFFFD\xFFFD"),
    WineDiffers("overlong E0 9F BF", "\xE0\x9F\xBF", u"\xFFFD\xFFFD\xFFFD"),
    WineDiffers("overlong F0 80 80 80", "\xF0\x80\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"),
    WineDiffers("overlong F0 8F BF BF", "\xF0\x8F\xBF\xBF", u"\xFFFD\xFFFD\xFFFD\xFFFD"),
    // Continuation bytes without a lead: one U+FFFD each.
    Case("lone 80", "\x80", u"\xFFFD"),
    Case("lone BF between ascii",
         "a\xBF"
         "b",
         u"a\xFFFD"
         "b"),
    Case("three lone continuations", "\x80\xBF\x80", u"\xFFFD\xFFFD\xFFFD"),
    // Truncated sequences with all their bytes present but a non-continuation
    // among them: the valid prefix is one U+FFFD.
    Case("truncated two-byte then ascii",
         "\xC3"
         "A",
         u"\xFFFD"
         "A"),
    Case("truncated three-byte then ascii",
         "\xE2\x82"
         "A",
         u"\xFFFD"
         "A"),
    Case("truncated four-byte then ascii",
         "\xF0\x9F\x98"
         "A",
         u"\xFFFD"
         "A"),
    Case("truncated four-byte then two ascii",
         "\xF0\x9F"
         "AB",
         u"\xFFFD"
         "AB"),
    Case("lead then full sequence", "\xE2\xE2\x82\xAC", u"\xFFFD\x20AC"),
    Case("lead then two-byte", "\xC2\xC2\xA2", u"\xFFFD\x00A2"),
    Case("four-byte cut by a lead", "\xF1\x80\x80\xC2\xA2", u"\xFFFD\x00A2"),
    // Truncated at the end of the text: the start of a sequence is one U+FFFD.
    Case("truncated two-byte at end", "\xC3", u"\xFFFD"),
    Case("truncated three-byte at end", "\xE2\x82", u"\xFFFD"),
    Case("truncated four-byte at end", "\xF0\x9F\x98", u"\xFFFD"),
    WineDiffers("overlong prefix at end", "x\xE0\x80", u"x\xFFFD\xFFFD"),
    // A lead with fewer bytes left than it needs keeps the ASCII after it.
    WineDiffers("three-byte lead before ascii",
                "\xE2"
                "A",
                u"\xFFFD"
                "A"),
    WineDiffers("four-byte lead before ascii",
                "\xF0"
                "AB",
                u"\xFFFD"
                "AB"),
    WineDiffers("four-byte prefix before ascii",
                "\xF0\x9F"
                "A",
                u"\xFFFD"
                "A"),
    Case("four-byte lead with room",
         "\xF0"
         "ABC",
         u"\xFFFD"
         "ABC"),
    // Encoded surrogates: ED takes no second byte above 9F, so each byte is one.
    WineDiffers("encoded high surrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"),
    WineDiffers("encoded low surrogate", "\xED\xBF\xBF", u"\xFFFD\xFFFD\xFFFD"),
    WineDiffers("encoded surrogate pair", "\xED\xA0\x80\xED\xB0\x80",
                u"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"),
    // Bytes that never start a sequence: one U+FFFD each.
    Case("F5", "\xF5", u"\xFFFD"),
    Case("F5 80", "\xF5\x80", u"\xFFFD\xFFFD"),
    Case("F7 BF BF BF", "\xF7\xBF\xBF\xBF", u"\xFFFD\xFFFD\xFFFD\xFFFD"),
    Case("five-byte form", "\xF8\x88\x80\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"),
    Case("FE FF", "\xFE\xFF", u"\xFFFD\xFFFD"),
    Case("FF then ascii",
         "\xFF"
         "A",
         u"\xFFFD"
         "A"),
    // Above U+10FFFF: F4 takes no second byte above 8F.
    WineDiffers("F4 90 80 80", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"),
};

// Under Wine, the system converter of the Windows build is Wine's.
bool Skipped(const Utf8Case& c) {
#if defined(_WIN32)
    return c.wineDiffers;
#else
    (void)c;
    return false;
#endif
}

TEST(ConvertUtf8ToUtf16, CountPassGivesUnitsNeeded) {
    for (const Utf8Case& c : kUtf8Cases) {
        if (Skipped(c)) continue;
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ConvertUtf8ToUtf16(c.bytes, c.byteCount, nullptr, 0), c.unitCount);
        // Capacity 0 means counting even with a buffer, which stays untouched.
        char16_t untouched[1] = {kGuard};
        EXPECT_EQ(ConvertUtf8ToUtf16(c.bytes, c.byteCount, untouched, 0), c.unitCount);
        EXPECT_EQ(untouched[0], kGuard);
    }
}

TEST(ConvertUtf8ToUtf16, WritesExpectedUnits) {
    for (const Utf8Case& c : kUtf8Cases) {
        if (Skipped(c)) continue;
        SCOPED_TRACE(c.name);
        char16_t out[32];
        for (char16_t& unit : out) unit = kGuard;
        const int written = ConvertUtf8ToUtf16(c.bytes, c.byteCount, out, 31);
        ASSERT_EQ(written, c.unitCount);
        EXPECT_EQ(Units(out, static_cast<std::size_t>(written)),
                  Units(c.units, static_cast<std::size_t>(c.unitCount)));
        EXPECT_EQ(out[written], kGuard) << "wrote past its units";
    }
}

TEST(ConvertUtf8ToUtf16, ExactCapacityFitsOneLessDoesNot) {
    for (const Utf8Case& c : kUtf8Cases) {
        if (c.unitCount == 0 || Skipped(c)) continue;
        SCOPED_TRACE(c.name);
        char16_t out[32];
        EXPECT_EQ(ConvertUtf8ToUtf16(c.bytes, c.byteCount, out, c.unitCount), c.unitCount);
        // Capacity 0 would mean counting; a cut through a surrogate pair is
        // checked on its own below.
        if (c.unitCount < 2 || utf_reference::IsLowSurrogate(c.units[c.unitCount - 1])) continue;
        EXPECT_EQ(ConvertUtf8ToUtf16(c.bytes, c.byteCount, out, c.unitCount - 1), 0);
    }
}

#ifndef _WIN32
// Our decoder only: Wine writes the high surrogate alone and reports success.
TEST(ConvertUtf8ToUtf16, HalfASurrogatePairDoesNotFit) {
    char16_t out[2] = {kGuard, kGuard};
    EXPECT_EQ(ConvertUtf8ToUtf16("a\xF0\x90\x90\xB7", 5, out, 2), 0);
}
#endif

TEST(ConvertUtf8ToUtf16, RejectsInvalidArguments) {
    char16_t out[8];
    EXPECT_EQ(ConvertUtf8ToUtf16(nullptr, 3, out, 8), 0);
    EXPECT_EQ(ConvertUtf8ToUtf16(nullptr, 3, nullptr, 0), 0);
    EXPECT_EQ(ConvertUtf8ToUtf16("abc", 0, out, 8), 0);
    EXPECT_EQ(ConvertUtf8ToUtf16("abc", 3, out, -1), 0);
    EXPECT_EQ(ConvertUtf8ToUtf16("abc", 3, nullptr, 8), 0);
}

TEST(ConvertUtf8ToUtf16, MinusOneConvertsThroughTheTerminator) {
    char16_t out[8];
    for (char16_t& unit : out) unit = kGuard;
    EXPECT_EQ(ConvertUtf8ToUtf16("ab\xC3\xA9", -1, nullptr, 0), 4);
    ASSERT_EQ(ConvertUtf8ToUtf16("ab\xC3\xA9", -1, out, 8), 4);
    EXPECT_EQ(Units(out, 4), Units(u"ab\x00E9\0", 4));
    EXPECT_EQ(out[4], kGuard);
}

TEST(ConvertUtf8ToUtf16, OutputTooSmallReturnsZero) {
    char16_t out[8];
    EXPECT_EQ(ConvertUtf8ToUtf16("abcdef", 6, out, 3), 0);
    EXPECT_EQ(ConvertUtf8ToUtf16("\xE2\x82\xAC\xE2\x82\xAC", 6, out, 1), 0);
}

TEST(WideText, StartsEmptyAndTerminated) {
    WideText text;
    EXPECT_EQ(text.size(), 0u);
    EXPECT_TRUE(text.empty());
    ASSERT_NE(text.c_str(), nullptr);
    EXPECT_EQ(text.c_str()[0], 0);
}

TEST(WideText, ResizeTerminatesAndKeepsUnitsAcrossTheHeapBoundary) {
    WideText text;
    char16_t* buffer = text.Resize(3);
    ASSERT_NE(buffer, nullptr);
    buffer[0] = u'a';
    buffer[1] = u'b';
    buffer[2] = u'c';
    EXPECT_EQ(text.c_str()[3], 0);

    const std::size_t longer = WideText::kInlineUnits + 10;
    buffer = text.Resize(longer);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(text.size(), longer);
    EXPECT_EQ(Units(text.c_str(), 3), u"abc");
    EXPECT_EQ(text.c_str()[longer], 0);
    for (std::size_t i = 3; i < longer; ++i) buffer[i] = u'x';

    ASSERT_NE(text.Resize(2), nullptr);
    EXPECT_EQ(text.size(), 2u);
    EXPECT_EQ(Units(text.c_str(), 3), Units(u"ab\0", 3));
}

// True when the units live inside the object, not on the heap.
bool StoredInline(const WideText& text) {
    const std::uintptr_t object = reinterpret_cast<std::uintptr_t>(&text);
    const std::uintptr_t units = reinterpret_cast<std::uintptr_t>(text.c_str());
    return units >= object && units < object + sizeof text;
}

TEST(WideText, InlineCapacityEndsAt255Units) {
    WideText text;
    char16_t* inlineBuffer = text.Resize(WideText::kInlineUnits - 1);
    ASSERT_NE(inlineBuffer, nullptr);
    EXPECT_TRUE(StoredInline(text));
    EXPECT_EQ(text.Resize(0), inlineBuffer) << "shrinking keeps the storage";
    ASSERT_NE(text.Resize(WideText::kInlineUnits), nullptr);
    EXPECT_FALSE(StoredInline(text)) << "256 units plus terminator need the heap";
}

TEST(WideText, ClearEmptiesAndReleasesTheHeap) {
    WideText text;
    ASSERT_NE(text.Resize(1000), nullptr);
    ASSERT_FALSE(StoredInline(text));
    text.Clear();
    EXPECT_EQ(text.size(), 0u);
    EXPECT_EQ(text.c_str()[0], 0);
    EXPECT_TRUE(StoredInline(text));
}

TEST(WideText, FailedResizeLeavesTheTextEmpty) {
    WideText text;
    char16_t* buffer = text.Resize(2);
    ASSERT_NE(buffer, nullptr);
    buffer[0] = u'o';
    buffer[1] = u'k';
    EXPECT_EQ(text.Resize(SIZE_MAX), nullptr) << "units + 1 overflows";
    EXPECT_EQ(text.size(), 0u);
    EXPECT_EQ(text.c_str()[0], 0);

    ASSERT_NE(text.Resize(2), nullptr);
    EXPECT_EQ(text.Resize(SIZE_MAX / 2), nullptr) << "the byte size overflows";
    EXPECT_EQ(text.size(), 0u);

    ASSERT_NE(text.Resize(2), nullptr);
    // Half the address space in bytes: no block that big exists.
    EXPECT_EQ(text.Resize(SIZE_MAX / 4 - 1), nullptr) << "no such block to be had";
    EXPECT_EQ(text.size(), 0u);
    EXPECT_EQ(text.c_str()[0], 0);
}

// Fills a text from a UTF-16 literal, through the public interface only.
WideText MakeText(const std::u16string& units) {
    WideText text;
    char16_t* buffer = text.Resize(units.size());
    if (buffer != nullptr) {
        for (std::size_t i = 0; i < units.size(); ++i) buffer[i] = units[i];
    }
    return text;
}

TEST(WideText, MoveTakesInlineText) {
    WideText source = MakeText(u"inline");
    WideText moved(std::move(source));
    EXPECT_EQ(std::u16string(moved.c_str()), u"inline");
    EXPECT_EQ(moved.size(), 6u);
    EXPECT_EQ(source.size(), 0u);  // NOLINT(bugprone-use-after-move): moved-from state is defined
    EXPECT_EQ(source.c_str()[0], 0);
}

TEST(WideText, MoveTakesTheHeapBufferItself) {
    const std::u16string longText(700, u'w');
    WideText source = MakeText(longText);
    const char16_t* heapBuffer = source.c_str();
    WideText moved(std::move(source));
    EXPECT_EQ(moved.c_str(), heapBuffer);
    EXPECT_EQ(std::u16string(moved.c_str()), longText);
    EXPECT_EQ(source.size(), 0u);  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(source.c_str()[0], 0);
    // The moved-from text is usable again.
    ASSERT_NE(source.Resize(1), nullptr);
    EXPECT_EQ(source.c_str()[1], 0);
}

TEST(WideText, MoveAssignmentReplacesBothKinds) {
    const std::u16string longText(400, u'h');
    WideText target = MakeText(longText);
    WideText shortSource = MakeText(u"short");
    target = std::move(shortSource);  // heap target takes inline text
    EXPECT_EQ(std::u16string(target.c_str()), u"short");
    EXPECT_EQ(shortSource.size(), 0u);  // NOLINT(bugprone-use-after-move)

    WideText longSource = MakeText(longText);
    target = std::move(longSource);  // inline target takes a heap buffer
    EXPECT_EQ(std::u16string(target.c_str()), longText);
    EXPECT_EQ(target.size(), longText.size());
    EXPECT_EQ(longSource.c_str()[0], 0);  // NOLINT(bugprone-use-after-move)

    WideText& alias = target;
    target = std::move(alias);
    EXPECT_EQ(std::u16string(target.c_str()), longText) << "self-move keeps the text";
}

struct WideCase {
    const char* name;
    const char* utf8;
    const char16_t* expected;
};

TEST(Utf8ToWide, ConvertsTerminatedText) {
    const WideCase cases[] = {
        {"empty", "", u""},
        {"ascii", "RequestStats", u"RequestStats"},
        {"accents",
         "Ren\xC3\xA9"
         "e",
         u"Ren\x00E9"
         "e"},
        {"pair", "\xF0\x90\x90\xB7!", u"\xD801\xDC37!"},
        {"invalid inside",
         "a\xC0\x80"
         "b",
         u"a\xFFFD\xFFFD"
         "b"},
        {"prefix ending at the terminator", "ok\xE2\x82", u"ok\xFFFD"},
        // The terminator is the byte the lead would need: Windows folds it into
        // the U+FFFD, and the text must still come out terminated.
        {"three-byte lead before the terminator", "abc\xE2", u"abc\xFFFD"},
        {"four-byte prefix before the terminator", "\xF0\x9F", u"\xFFFD"},
        {"four-byte prefix ending at the terminator", "\xF0\x9F\x98", u"\xFFFD"},
    };
    for (const WideCase& c : cases) {
        SCOPED_TRACE(c.name);
        const WideText text = Utf8ToWide(c.utf8);
        const std::u16string expected(c.expected);
        EXPECT_EQ(text.size(), expected.size());
        EXPECT_EQ(Units(text.c_str(), text.size() + 1),
                  Units(expected.c_str(), expected.size() + 1));
    }
}

TEST(Utf8ToWide, NullGivesEmptyText) {
    const WideText text = Utf8ToWide(nullptr);
    EXPECT_EQ(text.size(), 0u);
    ASSERT_NE(text.c_str(), nullptr);
    EXPECT_EQ(text.c_str()[0], 0);
}

TEST(Utf8ToWide, LongTextGoesThroughTheHeap) {
    std::string utf8;
    std::u16string expected;
    for (int i = 0; i < 300; ++i) {
        utf8 += "\xC3\xA9\xF0\x9F\x98\x80";
        expected += u"\x00E9\xD83D\xDE00";
    }
    const WideText text = Utf8ToWide(utf8.c_str());
    ASSERT_EQ(text.size(), expected.size());
    EXPECT_EQ(Units(text.c_str(), text.size() + 1), Units(expected.c_str(), expected.size() + 1));
}

TEST(Utf8ToWide, SizesAroundTheInlineLimit) {
    for (std::size_t length : {WideText::kInlineUnits - 2, WideText::kInlineUnits - 1,
                               WideText::kInlineUnits, WideText::kInlineUnits + 1}) {
        SCOPED_TRACE(length);
        const std::string utf8(length, 'q');
        const WideText text = Utf8ToWide(utf8.c_str());
        ASSERT_EQ(text.size(), length);
        EXPECT_EQ(std::u16string(text.c_str()), std::u16string(length, u'q'));
    }
    // A folded terminator on a 255-unit text must grow it to 256 units.
    const std::string utf8 = std::string(WideText::kInlineUnits - 1, 'q') + "\xE2";
    const WideText text = Utf8ToWide(utf8.c_str());
    ASSERT_EQ(text.size(), WideText::kInlineUnits);
    EXPECT_EQ(text.c_str()[WideText::kInlineUnits - 1], u'\xFFFD');
    EXPECT_EQ(text.c_str()[WideText::kInlineUnits], 0);
}

class HostBufferTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (char16_t& unit : buffer_) unit = kGuard;
    }
    // Units written before the first guard, and checks nothing lies past it.
    std::size_t WrittenUnits() const {
        std::size_t count = 0;
        while (count < kUnits && buffer_[count] != kGuard) ++count;
        for (std::size_t i = count; i < kUnits; ++i) {
            EXPECT_EQ(buffer_[i], kGuard) << "unit " << i << " overwritten";
        }
        return count;
    }

    static constexpr std::size_t kUnits = 16;
    char16_t buffer_[kUnits];
    char16_t* hostPointer_ = buffer_;
};

TEST_F(HostBufferTest, WritesTextAndTerminatorOnly) {
    const WideText text = Utf8ToWide("h\xC3\xA9llo");
    CopyToHostBuffer(&hostPointer_, text);
    ASSERT_EQ(WrittenUnits(), 6u);
    EXPECT_EQ(Units(buffer_, 6), Units(u"h\x00E9llo\0", 6));
    EXPECT_EQ(hostPointer_, buffer_) << "the host's pointer is not ours to change";
}

TEST_F(HostBufferTest, WritesTerminatedUnits) {
    CopyToHostBuffer(&hostPointer_, MakeText(u"\xD801\xDC37z"));
    ASSERT_EQ(WrittenUnits(), 4u);
    EXPECT_EQ(Units(buffer_, 4), Units(u"\xD801\xDC37z\0", 4));
}

TEST_F(HostBufferTest, EmptyTextWritesOneZeroUnit) {
    CopyToHostBuffer(&hostPointer_, WideText());
    ASSERT_EQ(WrittenUnits(), 1u);
    EXPECT_EQ(buffer_[0], 0);
}

TEST_F(HostBufferTest, WideTextUnitsAreCopiedByCountNotByTerminator) {
    WideText text = MakeText(std::u16string(u"a\0b", 3));
    CopyToHostBuffer(&hostPointer_, text);
    ASSERT_EQ(WrittenUnits(), 4u);
    EXPECT_EQ(Units(buffer_, 4), Units(u"a\0b\0", 4));
}

TEST_F(HostBufferTest, SkipsMissingBuffers) {
    const WideText text = Utf8ToWide("ignored");
    CopyToHostBuffer(nullptr, text);
    char16_t* nullHostPointer = nullptr;
    CopyToHostBuffer(&nullHostPointer, text);
    EXPECT_EQ(nullHostPointer, nullptr);
    EXPECT_EQ(WrittenUnits(), 0u);
}

TEST_F(HostBufferTest, ListsTooLongForTheBufferKeepOnlyWholeNames) {
    struct Case {
        const char* list;
        std::size_t capacity;
        std::u16string written;
    };
    const Case cases[] = {
        {"english,german", 16, u"english,german"},
        {"english,german", 15, u"english,german"},  // exactly, terminator included
        {"english,german", 14, u"english"},
        {"english,german,french", 15, u"english,german"},
        {"english,german,french", 8, u"english"},
        {"schinese", 8, u""},        // one name that does not fit
        {"english,german", 7, u""},  // the separator just past the room: no cut there
        {"\xF0\x9F\x98\x80x,y", 4, u"\xD83D\xDE00x"},  // never inside a pair
        {"", 1, u""},
    };
    for (const Case& c : cases) {
        for (char16_t& unit : buffer_) unit = kGuard;
        CopyListToHostBuffer(&hostPointer_, Utf8ToWide(c.list), c.capacity);
        const std::size_t written = WrittenUnits();
        EXPECT_LE(written, c.capacity) << c.list << " in " << c.capacity;
        EXPECT_EQ(Units(buffer_, written), Units((c.written + u'\0').c_str(), c.written.size() + 1))
            << c.list << " in " << c.capacity;
    }
    for (char16_t& unit : buffer_) unit = kGuard;
    CopyListToHostBuffer(&hostPointer_, Utf8ToWide("english"), 0);
    EXPECT_EQ(WrittenUnits(), 0u) << "no room, not even for the terminator";
}

}  // namespace
}  // namespace steambridge
