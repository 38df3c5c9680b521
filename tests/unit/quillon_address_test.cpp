#include <gtest/gtest.h>

#include <string>

#include "quillon/update_address.h"

namespace {

UpdateAddress Parsed(const char* text) {
    std::optional<UpdateAddress> a = ParseUpdateAddress(text);
    EXPECT_TRUE(a.has_value()) << text;
    return a.value_or(UpdateAddress{});
}

TEST(UpdateAddress, SplitsSchemeHostPortAndPath) {
    UpdateAddress a = Parsed("https://Tarnwick.EXAMPLE/halyard/update.txt?x=1#part");
    EXPECT_TRUE(a.secure);
    EXPECT_EQ(a.host, "tarnwick.example");
    EXPECT_EQ(a.port, 443);
    EXPECT_EQ(a.path, "/halyard/update.txt?x=1");
    a = Parsed("HTTP://127.0.0.1:8080");
    EXPECT_FALSE(a.secure);
    EXPECT_EQ(a.port, 8080);
    EXPECT_EQ(a.path, "/");
    EXPECT_EQ(Parsed("http://localhost?q").path, "/?q");
}

TEST(UpdateAddress, RefusesWhatCouldMisleadOrBreakARequest) {
    for (const char* bad : {"", "tarnwick.example/update.txt", "ftp://tarnwick.example/x", "file:///C:/x",
                            "https://", "https://:443/x", "https://user@tarnwick.example/x",
                            "http://127.0.0.1@evil.example/x", "https://host:0/x", "https://host:65536/x",
                            "https://host:44a/x", "https://ho st/x", "https://host/a b",
                            "https://host/\x01", "https://h\xC3\xA9st/x", "https://host/\xC3\xA9",
                            "https://[::1]/x", "https://-host/x"}) {
        EXPECT_FALSE(ParseUpdateAddress(bad).has_value()) << bad;
    }
    EXPECT_FALSE(ParseUpdateAddress("https://host/" + std::string(kAddressMaxBytes, 'a')).has_value());
}

TEST(UpdateAddress, PlainHttpOnlyToThisMachine) {
    EXPECT_TRUE(AllowedAddress("https://tarnwick.example/halyard/update.txt"));
    EXPECT_TRUE(AllowedAddress("https://10.0.0.1:8443/u"));
    EXPECT_TRUE(AllowedAddress("http://127.0.0.1:5000/u"));
    EXPECT_TRUE(AllowedAddress("http://LOCALHOST/u"));
    for (const char* refused : {"http://tarnwick.example/halyard/update.txt", "http://127.0.0.2/u",
                                "http://127.0.0.1.evil.example/u", "http://localhost.example/u",
                                "http://0x7f000001/u", "http://2130706433/u", "ftp://127.0.0.1/u"}) {
        EXPECT_FALSE(AllowedAddress(refused)) << refused;
    }
}

TEST(UpdateAddress, RedirectLocationsResolveAgainstTheRequest) {
    const UpdateAddress base = Parsed("http://127.0.0.1:5000/dir/update.txt?v=1");
    EXPECT_EQ(ResolveLocation(base, "https://other.example/x"), "https://other.example/x");
    EXPECT_EQ(ResolveLocation(base, "//other.example/x"), "http://other.example/x");
    EXPECT_EQ(ResolveLocation(base, "/top.txt"), "http://127.0.0.1:5000/top.txt");
    EXPECT_EQ(ResolveLocation(base, "next.txt"), "http://127.0.0.1:5000/dir/next.txt");
    EXPECT_EQ(ResolveLocation(Parsed("https://h.example/a"), "b"), "https://h.example/b");
    // A redirect to plain http elsewhere resolves to an address that is refused.
    EXPECT_FALSE(AllowedAddress(ResolveLocation(base, "http://tarnwick.example/u")));
}

TEST(InstallerName, LastSegmentWithAnInstallerExtension) {
    EXPECT_EQ(InstallerFileName(Parsed("https://h/a/HalyardSetup.exe")), "HalyardSetup.exe");
    EXPECT_EQ(InstallerFileName(Parsed("https://h/a/Halyard_4.1.10.MSI?token=1")), "Halyard_4.1.10.MSI");
    for (const char* bad : {"https://h/a/setup.bat", "https://h/a/setup.exe.txt", "https://h/a/",
                            "https://h/a/.exe", "https://h/a/.hidden.exe", "https://h/a/set%20up.exe",
                            "https://h/a/..%5C..%5Cx.exe", "https://h/setup.exe/", "https://h/a/set:up.exe",
                            "https://h"}) {
        EXPECT_EQ(InstallerFileName(Parsed(bad)), "") << bad;
    }
    EXPECT_EQ(InstallerFileName(Parsed(("https://h/" + std::string(97, 'a') + ".exe").c_str())), "");
    EXPECT_EQ(InstallerFileName(Parsed(("https://h/" + std::string(96, 'a') + ".exe").c_str())).size(), 100u);
}

TEST(InstallerName, NumberedAlternatives) {
    EXPECT_EQ(NumberedFileName("HalyardSetup.exe", 0), "HalyardSetup.exe");
    EXPECT_EQ(NumberedFileName("HalyardSetup.exe", 1), "HalyardSetup-1.exe");
    EXPECT_EQ(NumberedFileName("Halyard.4.1.msi", 12), "Halyard.4.1-12.msi");
}

}  // namespace
