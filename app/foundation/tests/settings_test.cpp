#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"

#include <gtest/gtest.h>

namespace corvella {
namespace {

const char kOptions[] = "Software\\Corvella\\Options";

struct Raw {
    bool found = false;
    int32_t type = -1;
    std::vector<uint8_t> data;
};

Raw ReadRaw(MemoryStore& s, const std::string& path, const std::string& name,
            int32_t root = kHkeyCurrentUser) {
    Raw r;
    r.found = s.QueryValue(root, path, name, r.type, r.data);
    return r;
}

std::vector<uint8_t> Sz(const std::string& text) {
    std::vector<uint8_t> d(text.begin(), text.end());
    d.push_back(0);
    return d;
}

void Put(MemoryStore& s, const std::string& path, const std::string& name, int32_t type,
         std::vector<uint8_t> data) {
    ASSERT_EQ(s.SetValue(kHkeyCurrentUser, path, name, type, data), StoreResult::kOk);
}

cRegistry At(MemoryStore& s, const std::string& path, const std::string& name) {
    cRegistry r(s);
    r.SetClassKey(kHkeyCurrentUser);
    r.SetSectionKey(path);
    r.SetValueKey(name);
    return r;
}

template <typename F>
RegistryError Raised(F&& f) {
    try {
        f();
    } catch (const RegistryError& e) {
        return e;
    }
    ADD_FAILURE() << "no RegistryError raised";
    return RegistryError(0, "");
}

TEST(GetSetting, MissingValueIsWrittenWithTheDefaultsType) {
    MemoryStore s;
    cRegistry reg(s);

    EXPECT_EQ(reg.GetSetting(kHkeyCurrentUser, kOptions, "Count", Variant::Long(3)), Variant::Long(3));
    Raw r = ReadRaw(s, kOptions, "Count");
    EXPECT_EQ(r.type, kRegDword);
    EXPECT_EQ(r.data, (std::vector<uint8_t>{3, 0, 0, 0}));

    EXPECT_EQ(reg.GetSetting(kHkeyCurrentUser, kOptions, "Flag", Variant::Boolean(true)),
              Variant::String("True"));
    r = ReadRaw(s, kOptions, "Flag");
    EXPECT_EQ(r.type, kRegSz);
    EXPECT_EQ(r.data, Sz("True"));

    EXPECT_EQ(reg.GetSetting(kHkeyCurrentUser, kOptions, "Folder", Variant::String("Desktop")),
              Variant::String("Desktop"));
    EXPECT_EQ(ReadRaw(s, kOptions, "Folder").data, Sz("Desktop"));

    // A 16-bit integer default is text, not a REG_DWORD.
    EXPECT_EQ(reg.GetSetting(kHkeyCurrentUser, kOptions, "Small", Variant::Integer(-7)),
              Variant::String("-7"));
    EXPECT_EQ(ReadRaw(s, kOptions, "Small").type, kRegSz);
}

TEST(GetSetting, StoredZeroIsKeptButEmptyTextTakesTheDefault) {
    MemoryStore s;
    cRegistry reg(s);
    Put(s, kOptions, "View", kRegDword, {0, 0, 0, 0});
    EXPECT_EQ(reg.GetSetting(kHkeyCurrentUser, kOptions, "View", Variant::Long(3)), Variant::Long(0));
    EXPECT_EQ(ReadRaw(s, kOptions, "View").data, (std::vector<uint8_t>{0, 0, 0, 0}));

    Put(s, kOptions, "Folder", kRegSz, Sz(""));
    EXPECT_EQ(reg.GetSetting(kHkeyCurrentUser, kOptions, "Folder", Variant::String("Desktop")),
              Variant::String("Desktop"));
    EXPECT_EQ(ReadRaw(s, kOptions, "Folder").data, Sz("Desktop"));

    Put(s, kOptions, "Digit", kRegSz, Sz("0"));
    Put(s, kOptions, "Off", kRegSz, Sz("False"));
    EXPECT_EQ(reg.GetSetting(kHkeyCurrentUser, kOptions, "Digit", Variant::String("9")),
              Variant::String("0"));
    EXPECT_EQ(reg.GetSetting(kHkeyCurrentUser, kOptions, "Off", Variant::Boolean(true)),
              Variant::String("False"));
    EXPECT_EQ(ReadRaw(s, kOptions, "Off").data, Sz("False"));
}

TEST(GetSetting, CallerObjectIsUntouched) {
    MemoryStore s;
    cRegistry reg = At(s, "Some\\Key", "Name");
    reg.SetValueType(kRegBinary);
    reg.SaveSetting(kHkeyCurrentUser, kOptions, "X", Variant::Long(1));
    reg.GetSetting(kHkeyCurrentUser, kOptions, "Y", Variant::String("y"));
    EXPECT_EQ(reg.SectionKey(), "Some\\Key");
    EXPECT_EQ(reg.ValueKey(), "Name");
    EXPECT_EQ(reg.ValueType(), kRegBinary);
}

TEST(SaveSetting, TypeRule) {
    MemoryStore s;
    cRegistry reg(s);
    reg.SaveSetting(kHkeyCurrentUser, kOptions, "Long", Variant::Long(-1));
    reg.SaveSetting(kHkeyCurrentUser, kOptions, "Int", Variant::Integer(5));
    reg.SaveSetting(kHkeyCurrentUser, kOptions, "Bool", Variant::Boolean(false));
    reg.SaveSetting(kHkeyCurrentUser, kOptions, "Real", Variant::Double(1.5));
    EXPECT_EQ(ReadRaw(s, kOptions, "Long").type, kRegDword);
    EXPECT_EQ(ReadRaw(s, kOptions, "Long").data, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ReadRaw(s, kOptions, "Int").type, kRegSz);
    EXPECT_EQ(ReadRaw(s, kOptions, "Int").data, Sz("5"));
    EXPECT_EQ(ReadRaw(s, kOptions, "Bool").data, Sz("False"));
    EXPECT_EQ(ReadRaw(s, kOptions, "Real").data, Sz("1.5"));
    // Overwriting with another type replaces the type too.
    reg.SaveSetting(kHkeyCurrentUser, kOptions, "Long", Variant::String("text"));
    EXPECT_EQ(ReadRaw(s, kOptions, "Long").type, kRegSz);
}

TEST(Value, ReadsEachTypeAndRemembersIt) {
    MemoryStore s;
    Put(s, kOptions, "be", kRegDwordBigEndian, {0x00, 0x00, 0x01, 0x02});
    Put(s, kOptions, "multi", kRegMultiSz, {'a', 0, 'b', 0, 0});
    Put(s, kOptions, "bin", kRegBinary, {1, 2, 3});
    Put(s, kOptions, "unterminated", kRegSz, {'a', 'b'});
    s.SetEnvironment("WinDir", "C:\\WINDOWS");
    Put(s, kOptions, "exp", kRegExpandSz, Sz("%windir%\\x;%NOPE%"));

    cRegistry r = At(s, kOptions, "be");
    EXPECT_EQ(r.Value(), Variant::Long(0x0102));
    EXPECT_EQ(r.ValueType(), kRegDwordBigEndian);
    r.SetValueKey("multi");
    EXPECT_EQ(r.Value(), Variant::String(std::string("a\0b\0", 4)));
    EXPECT_EQ(r.ValueType(), kRegMultiSz);
    r.SetValueKey("bin");
    EXPECT_EQ(r.Value(), Variant::FromBytes({1, 2, 3})) << "exactly the stored bytes";
    r.SetValueKey("unterminated");
    EXPECT_EQ(r.Value(), Variant::String("ab"));
    r.SetValueKey("exp");
    EXPECT_EQ(r.Value(), Variant::String("C:\\WINDOWS\\x;%NOPE%"));

    // Missing value or key: Default, and the type is left as it was.
    r.SetDefault(Variant::String("dflt"));
    r.SetValueKey("absent");
    EXPECT_EQ(r.Value(), Variant::String("dflt"));
    EXPECT_EQ(r.ValueType(), kRegExpandSz);
    r.SetSectionKey("No\\Such\\Key");
    EXPECT_EQ(r.Value(), Variant::String("dflt"));
}

TEST(Value, PercentPairsDecideExpandableText) {
    MemoryStore s;
    cRegistry r = At(s, kOptions, "v");
    struct Case {
        const char* text;
        int32_t type;
    } cases[] = {
        {"%a%", kRegExpandSz}, {"x%%%", kRegExpandSz}, {"%ab", kRegSz},
        {"50%", kRegSz},       {"a%%b", kRegSz},       {"%%", kRegSz},
    };
    for (const Case& c : cases) {
        r.SetValueType(kRegSz);
        r.SetValue(Variant::String(c.text));
        EXPECT_EQ(ReadRaw(s, kOptions, "v").type, c.type) << c.text;
        EXPECT_EQ(ReadRaw(s, kOptions, "v").data, Sz(c.text)) << c.text;
    }
    // Type 2 with no pair is plain text as well.
    r.SetValueType(kRegExpandSz);
    r.SetValue(Variant::String("plain"));
    EXPECT_EQ(ReadRaw(s, kOptions, "v").type, kRegSz);
}

TEST(Value, WritesIntegersAndBytes) {
    MemoryStore s;
    cRegistry r = At(s, kOptions, "v");
    r.SetValueType(kRegDwordBigEndian);
    r.SetValue(Variant::Integer(-2));
    EXPECT_EQ(ReadRaw(s, kOptions, "v").type, kRegDword);
    EXPECT_EQ(ReadRaw(s, kOptions, "v").data, (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    r.SetValueType(kRegBinary);
    r.SetValue(Variant::FromBytes({9, 0, 8}));
    EXPECT_EQ(ReadRaw(s, kOptions, "v").data, (std::vector<uint8_t>{9, 0, 8}));
    // A byte value read back and written again keeps its length.
    Variant back = r.Value();
    r.SetValue(back);
    EXPECT_EQ(ReadRaw(s, kOptions, "v").data.size(), 3u);
}

TEST(Value, WriteFailuresRaise) {
    MemoryStore s;
    cRegistry r = At(s, kOptions, "Name");
    r.SetValueType(kRegSz);

    s.SetFailCreate(true);
    RegistryError e = Raised([&] { r.SetValue(Variant::String("v")); });
    EXPECT_EQ(e.Number(), kErrRegistry);
    EXPECT_EQ(e.Source(), "Corvella.m_Registryistry");
    EXPECT_EQ(e.Description(),
              "Failed to set registry value Key: '-2147483647',Section: "
              "'Software\\Corvella\\Options',Key: 'Name' to value: 'v'");
    s.SetFailCreate(false);

    s.SetFailWrites(true);
    e = Raised([&] { r.SetValue(Variant::Long(4)); });
    EXPECT_EQ(e.Number(), kErrSetValue);
    EXPECT_EQ(e.Description(),
              "Failed to set registry value Key: '-2147483647',Section: "
              "'Software\\Corvella\\Options',Key: 'Name' to value: '4'");
    s.SetFailWrites(false);

    r.SetValueType(kRegBinary);
    e = Raised([&] { r.SetValue(Variant::String("not bytes")); });
    EXPECT_EQ(e.Number(), kErrRegistry);
    EXPECT_EQ(e.Description(), "Application-defined or object-defined error");

    // An unknown type stores nothing and says so.
    r.SetValueType(9);
    EXPECT_EQ(Raised([&] { r.SetValue(Variant::String("x")); }).Number(), kErrSetValue);
    EXPECT_FALSE(ReadRaw(s, kOptions, "Name").found);
}

// A number type takes 16- and 32-bit integers only; any other value is
// skipped without an error, and what was stored before stays.
TEST(Value, NumberTypesSkipValuesThatAreNoIntegers) {
    const Variant others[] = {Variant::String("12"), Variant::String("x"), Variant::Boolean(true),
                              Variant::Double(1.5), Variant(), Variant::FromBytes({1, 2})};
    for (int32_t type : {kRegDword, kRegDwordBigEndian}) {
        MemoryStore s;
        cRegistry r = At(s, "Software\\Corvella\\New", "n");
        r.SetValueType(type);
        for (const Variant& v : others) {
            EXPECT_NO_THROW(r.SetValue(v)) << v.Text();
            EXPECT_FALSE(ReadRaw(s, "Software\\Corvella\\New", "n").found) << v.Text();
        }
        EXPECT_TRUE(r.KeyExists()) << "the key is made as for any write";
        r.SetValue(Variant::Long(7));
        r.SetValue(Variant::String("8"));
        EXPECT_EQ(ReadRaw(s, "Software\\Corvella\\New", "n").data, (std::vector<uint8_t>{7, 0, 0, 0}));

        s.SetFailCreate(true);
        cRegistry fresh = At(s, "Software\\Corvella\\Other", "n");
        fresh.SetValueType(type);
        EXPECT_EQ(Raised([&] { fresh.SetValue(Variant::String("x")); }).Number(), kErrRegistry)
            << "a key that cannot be made still raises";
    }
}

TEST(Keys, CreateExistsDelete) {
    MemoryStore s;
    cRegistry r = At(s, "Software\\Corvella\\Layout\\Main", "");
    EXPECT_FALSE(r.KeyExists());
    EXPECT_TRUE(r.CreateKey());
    EXPECT_TRUE(r.CreateKey()) << "an existing key opens";
    r.SetSectionKey("SOFTWARE\\corvella\\layout");
    EXPECT_TRUE(r.KeyExists()) << "key names match without regard to case";

    RegistryError e = Raised([&] { r.DeleteKey(); });
    EXPECT_EQ(e.Number(), kErrRegistry);
    EXPECT_EQ(e.Description(),
              "Failed to delete registry Key: '-2147483647',Section: 'SOFTWARE\\corvella\\layout");
    r.SetSectionKey("Software\\Corvella\\Layout\\Main");
    EXPECT_TRUE(r.DeleteKey());
    EXPECT_FALSE(r.KeyExists());

    s.SetFailCreate(true);
    e = Raised([&] { r.CreateKey(); });
    EXPECT_EQ(e.Description(), "Failed to create registry Key: 'Software\\Corvella\\Layout\\Main");
}

TEST(Keys, DeleteValueReportsWhatFailed) {
    MemoryStore s;
    Put(s, kOptions, "Keep", kRegSz, Sz("1"));
    cRegistry r = At(s, kOptions, "Gone");
    RegistryError e = Raised([&] { r.DeleteValue(); });
    EXPECT_EQ(e.Number(), kErrRegistry);
    EXPECT_EQ(e.Description(),
              "Failed to delete registry Key: '-2147483647',Section: "
              "'Software\\Corvella\\Options',Key: 'Gone");
    r.SetSectionKey("Missing");
    e = Raised([&] { r.DeleteValue(); });
    EXPECT_EQ(e.Description(), "Failed to open key '-2147483647',Section: 'Missing' for delete access");

    r.SetSectionKey(kOptions);
    r.SetValueKey("keep");
    EXPECT_TRUE(r.DeleteValue());
    EXPECT_FALSE(ReadRaw(s, kOptions, "Keep").found);
}

TEST(Enumerate, NamesInOrderAndEmptyOrMissingKeys) {
    MemoryStore s;
    cRegistry r = At(s, kOptions, "");
    std::vector<std::string> names{"stale"};
    int32_t count = 99;
    EXPECT_TRUE(r.EnumerateValues(names, count)) << "a missing key is not an error";
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.empty());
    r.CreateKey();
    EXPECT_TRUE(r.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);

    Put(s, kOptions, "B", kRegSz, Sz(""));
    Put(s, kOptions, "A", kRegSz, Sz(""));
    Put(s, kOptions, "b", kRegSz, Sz("again"));
    s.CreateKey(kHkeyCurrentUser, std::string(kOptions) + "\\MP3");
    s.CreateKey(kHkeyCurrentUser, std::string(kOptions) + "\\Case");
    EXPECT_TRUE(r.EnumerateValues(names, count));
    EXPECT_EQ(names, (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(r.EnumerateSections(names, count));
    EXPECT_EQ(names, (std::vector<std::string>{"MP3", "Case"}));
    EXPECT_EQ(count, 2);
    r.SetSectionKey("Nowhere");
    EXPECT_TRUE(r.EnumerateSections(names, count));
    EXPECT_EQ(count, 0);
}

TEST(TypedSettings, DefaultsAndConversions) {
    MemoryStore s;
    EXPECT_TRUE(GetSettingBool(s, kOptions, "Show Folder Bar", true));
    EXPECT_EQ(ReadRaw(s, kOptions, "Show Folder Bar").data, Sz("True"));
    SaveSettingBool(s, kOptions, "Show Folder Bar", false);
    EXPECT_FALSE(GetSettingBool(s, kOptions, "Show Folder Bar", true));

    EXPECT_EQ(GetSettingLong(s, kOptions, "Width", 120), 120);
    EXPECT_EQ(ReadRaw(s, kOptions, "Width").type, kRegDword);
    SaveSettingLong(s, kOptions, "Width", 0);
    EXPECT_EQ(GetSettingLong(s, kOptions, "Width", 120), 0);

    EXPECT_EQ(GetSettingInteger(s, kOptions, "Case", 2), 2);
    EXPECT_EQ(ReadRaw(s, kOptions, "Case").data, Sz("2"));
    SaveSettingInteger(s, kOptions, "Case", -3);
    EXPECT_EQ(GetSettingInteger(s, kOptions, "Case", 2), -3);

    EXPECT_EQ(GetSettingText(s, kOptions, "Folder", "Desktop"), "Desktop");
    SaveSettingText(s, kOptions, "Folder", "C:\\Music");
    EXPECT_EQ(GetSettingText(s, kOptions, "Folder", "Desktop"), "C:\\Music");

    // Values stored by hand or by older code still convert where they can.
    Put(s, kOptions, "n", kRegSz, Sz(" 42 "));
    EXPECT_EQ(GetSettingLong(s, kOptions, "n", 1), 42);
    Put(s, kOptions, "n", kRegSz, Sz("2.5"));
    EXPECT_EQ(GetSettingLong(s, kOptions, "n", 1), 2);
    Put(s, kOptions, "n", kRegSz, Sz("40000"));
    EXPECT_EQ(GetSettingInteger(s, kOptions, "n", 1), 1) << "out of 16-bit range";
    Put(s, kOptions, "n", kRegDword, {1, 0, 0, 0});
    EXPECT_TRUE(GetSettingBool(s, kOptions, "n", false));
    Put(s, kOptions, "n", kRegSz, Sz("garbage"));
    EXPECT_EQ(GetSettingLong(s, kOptions, "n", 7), 7);
    EXPECT_TRUE(GetSettingBool(s, kOptions, "n", true));
    EXPECT_EQ(ReadRaw(s, kOptions, "n").data, Sz("garbage")) << "an unconvertible value is kept";
    Put(s, kOptions, "n", kRegSz, Sz("0x10"));
    EXPECT_EQ(GetSettingLong(s, kOptions, "n", 7), 7);
}

TEST(Association, WritesUnderBothClassRoots) {
    MemoryStore s;
    cRegistry reg(s);
    reg.CreateEXEAssociation("  C:\\App\\Corvella.exe ", "Corvella.List", "Corvella list", "cvl",
                             "", true, "", false, "", true, "", 2);
    auto text = [&](int32_t root, const std::string& key) {
        return ReadRaw(s, key, "", root).data;
    };
    for (auto [root, prefix] : {std::pair<int32_t, std::string>{kHkeyClassesRoot, ""},
                                {kHkeyLocalMachine, "SOFTWARE\\Classes\\"}}) {
        EXPECT_EQ(text(root, prefix + ".cvl"), Sz("Corvella.List"));
        EXPECT_EQ(text(root, prefix + "Corvella.List"), Sz("Corvella list"));
        EXPECT_EQ(text(root, prefix + "Corvella.List\\shell\\open"), Sz("&Open"));
        EXPECT_EQ(text(root, prefix + "Corvella.List\\shell\\open\\command"),
                  Sz("\"C:\\App\\Corvella.exe\" \"%1\""));
        EXPECT_EQ(text(root, prefix + "Corvella.List\\shell\\print\\command"),
                  Sz("\"C:\\App\\Corvella.exe\" /p \"%1\""));
        EXPECT_EQ(text(root, prefix + "Corvella.List\\shell\\add"), Sz("&Install cvl"));
        EXPECT_EQ(text(root, prefix + "Corvella.List\\DefaultIcon"),
                  Sz("\"C:\\App\\Corvella.exe\",2"));
        EXPECT_FALSE(s.KeyExists(root, prefix + "Corvella.List\\shell\\new"));
    }

    reg.SetClassKey(kHkeyClassesRoot);
    EXPECT_EQ(Raised([&] { reg.CreateAdditionalEXEAssociations("Corvella.List", {"a", "b"}); })
                  .Number(),
              kErrAssociationArguments);
    EXPECT_EQ(Raised([&] { reg.CreateAdditionalEXEAssociations("Other", {}); }).Description(),
              "Error - attempt to create additional associations before class defined.");
    reg.CreateAdditionalEXEAssociations("Corvella.List", {"play", "&Play", "cmd /x"});
    EXPECT_EQ(text(kHkeyLocalMachine, "SOFTWARE\\Classes\\Corvella.List\\shell\\play\\command"),
              Sz("cmd /x"));
}

TEST(VariantText, TextForms) {
    EXPECT_EQ(Variant().Text(), "");
    EXPECT_EQ(Variant::Integer(-5).Text(), "-5");
    EXPECT_EQ(Variant::Long(2147483647).Text(), "2147483647");
    EXPECT_EQ(Variant::Boolean(true).Text(), "True");
    EXPECT_EQ(Variant::Double(0.1).Text(), "0.1");
    EXPECT_EQ(Variant::Double(1e20).Text(), "1E+20");
    EXPECT_NE(Variant::Integer(1), Variant::Long(1)) << "kinds differ";
}

}  // namespace
}  // namespace corvella
