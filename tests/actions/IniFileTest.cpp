#include <gtest/gtest.h>

#include "actions/IniFile.h"

namespace ordwell {
namespace {

TEST(IniFile, ReadsValuesAsHandEditedFilesHoldThem) {
    struct Row {
        const char* text;
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Row rows[] = {
        {"[Main]\nName=Ann\n", "Main", "Name", "Ann"},
        {"[Main]\r\nName=Ann\r\nAge=7\r\n", "Main", "Name", "Ann"},
        {"[Main]\r\nName=Ann", "Main", "Name", "Ann"},
        // Names without regard to case, blanks around names and values ignored.
        {"[MaIn]\nnAmE=Ann\n", "mAiN", "NaMe", "Ann"},
        {"  [ Main ]  \n\t Name \t=  two words \t\r\n", "Main", "Name", "two words"},
        {"[Main]\nName=Ann\n", " Main ", " Name ", "Ann"},
        // One pair of matching quotes goes; anything else stays.
        {"[M]\nk=\"  quoted  \"\n", "M", "k", "  quoted  "},
        {"[M]\nk='single'\n", "M", "k", "single"},
        {"[M]\nk=\"\"\n", "M", "k", ""},
        {"[M]\nk=\"open\n", "M", "k", "\"open"},
        {"[M]\nk=\"mixed'\n", "M", "k", "\"mixed'"},
        {"[M]\nk=\"a\" and \"b\"\n", "M", "k", "a\" and \"b"},
        {"[M]\nk=\"\n", "M", "k", "\""},
        // The first "=" splits; the value keeps the rest, comments included.
        {"[M]\nk=a=b ; c\n", "M", "k", "a=b ; c"},
        {"[M]\nk=\n", "M", "k", ""},
        // First match wins: the first key, and only the first section.
        {"[M]\nk=1\nk=2\n", "M", "k", "1"},
        {"[M]\nk=1\n[N]\nj=2\n[M]\nj=3\n", "M", "j", std::nullopt},
        // Comments and lines without "=" hold no value.
        {"[M]\n;k=1\nk\nk=2\n", "M", "k", "2"},
        {"[M]\n  ; k=1\n", "M", "k", std::nullopt},
        // Keys belong to their own section only.
        {"[A]\nk=1\n[B]\nj=2\n", "A", "j", std::nullopt},
        {"k=0\n[A]\nk=1\n", "A", "k", "1"},
        {"[A]\n", "A", "k", std::nullopt},
        {"", "A", "k", std::nullopt},
        {"[A\nk=1\n", "A", "k", std::nullopt},
        // A byte order mark before the first header does not hide it.
        {"\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "1"},
        // Text after the "]" of a header does not count.
        {"[A] ; first\nk=1\n", "A", "k", "1"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IniFile(row.text).Get(row.section, row.key), row.value) << row.text;
    }
}

TEST(IniFile, SetChangesOnlyWhatItMust) {
    struct Row {
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const Row rows[] = {
        // The value's bytes change; spelling, spacing, comments and CR LF stay.
        {"; settings\r\n[Main]\r\n  Name = old  \r\n\r\n[Next]\r\nx=1\r\n", "main", "NAME", "new",
         "; settings\r\n[Main]\r\n  Name = new\r\n\r\n[Next]\r\nx=1\r\n"},
        {"[M]\nk=\ny=2\n", "M", "k", "v", "[M]\nk=v\ny=2\n"},
        {"[M]\nk=1\nk=2\n", "M", "k", "3", "[M]\nk=3\nk=2\n"},
        {"[M]\nk=1", "M", "k", "22", "[M]\nk=22"},
        // A new key goes behind the section's last entry, before blank lines
        // and the comments that introduce the next section.
        {"[A]\nx=1\n\n; about B\n[B]\ny=2\n", "A", "z", "3", "[A]\nx=1\nz=3\n\n; about B\n[B]\ny=2\n"},
        {"[A]\r\n; only a note\r\n", "A", "k", "v", "[A]\r\nk=v\r\n; only a note\r\n"},
        {"[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2"},
        {"[A]", "A", "k", "v", "[A]\r\nk=v"},
        {"[A]\nx=1\n[B]\n[A]\n", "a", "y", "2", "[A]\nx=1\ny=2\n[B]\n[A]\n"},
        // A new section goes at the end, after one blank line.
        {"[A]\r\nx=1\r\n", "B", "y", "2", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"},
        {"[A]\nx=1\n\n", "B", "y", "2", "[A]\nx=1\n\n[B]\ny=2\n"},
        {"[A]\nx=1", "B", "y", "2", "[A]\nx=1\n\n[B]\ny=2\n"},
        {"\n", "B", "y", "2", "\n[B]\ny=2\n"},
        {"", " New ", " key ", "v", "[New]\r\nkey=v\r\n"},
        // A text cut short behind a CR: the CR ends the last line.
        {"[M]\nk=1\r", "M", "k", "22", "[M]\nk=22\r"},
        {"[A]\nx=1\r", "A", "y", "2", "[A]\nx=1\r\ny=2"},
        {"[A]\nx=1\r", "B", "y", "2", "[A]\nx=1\r\n\n[B]\ny=2\n"},
        {"[A]\r\nx=1\r", "A", "y", "2", "[A]\r\nx=1\r\ny=2"},
        {"[A]\r\nx=1 \r", "B", "y", "2", "[A]\r\nx=1 \r\n\r\n[B]\r\ny=2\r\n"},
        {"[A]\r", "A", "k", "v", "[A]\r\nk=v"},
    };
    for (const Row& row : rows) {
        IniFile document(row.before);
        EXPECT_TRUE(document.Set(row.section, row.key, row.value)) << row.before;
        EXPECT_EQ(document.Text(), row.after) << row.before;
        EXPECT_EQ(document.Get(row.section, row.key), row.value) << row.before;
        // What was there reads as before.
        if (IniFile(row.before).Get("A", "x")) {
            EXPECT_EQ(document.Get("A", "x"), IniFile(row.before).Get("A", "x")) << row.before;
        }
    }
}

TEST(IniFile, RefusesNamesAndValuesThatWouldReadBackAsOtherLines) {
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    };
    const Row rows[] = {
        {"A", "k", "one\n[B]\nk=evil"},
        {"A", "k", "cr\rhere"},
        {"A\nB", "k", "v"},
        {"A]x", "k", "v"},
        {"A", "k=x", "v"},
        {"A", "[k]", "v"},
        {"A", ";k", "v"},
        {"A", "k\n", "v"},
    };
    const std::string before = "[A]\nk=1\n";
    for (const Row& row : rows) {
        IniFile document(before);
        EXPECT_FALSE(document.Set(row.section, row.key, row.value)) << row.key << " " << row.value;
        EXPECT_EQ(document.Text(), before);
    }
}

} // namespace
} // namespace ordwell
