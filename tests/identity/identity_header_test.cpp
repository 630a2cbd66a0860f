// The generated identity header: values that must agree with each other wherever they are used.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "identity.h"

namespace {

namespace id = fernwick::identity;

TEST(Identity, VersionStringIsMajorDotTwoDigitMinor) {
    char expected[16];
    std::snprintf(expected, sizeof expected, "%d.%02d", id::versionMajor, id::versionMinor);
    EXPECT_EQ(id::versionString, expected);
    EXPECT_EQ(id::fileVersion, id::productVersion);
    EXPECT_EQ(id::fileVersion[0], id::versionMajor);
    EXPECT_EQ(id::fileVersion[1], id::versionMinor);
}

TEST(Identity, OriginalFilenameIsTheInternalNameAsAnExecutable) {
#ifdef _WIN32
    EXPECT_EQ(id::originalFilename, std::string(id::internalName) + ".exe");
#else
    EXPECT_EQ(id::originalFilename, id::internalName);
#endif
}

// Qt takes the desktop file name without ".desktop", and desktop environments match it against
// the installed <appId>.desktop, which must be a reverse-DNS name of at least three parts.
TEST(Identity, DesktopFileNameIsAReverseDnsApplicationId) {
    EXPECT_EQ(id::desktopFileName, id::appId);
    EXPECT_FALSE(id::appId.ends_with(".desktop"));
    int parts = 1;
    char previous = '.';
    for (char c : id::appId) {
        if (c == '.') {
            ++parts;
            EXPECT_NE(previous, '.') << "empty part in " << id::appId;
        } else {
            EXPECT_TRUE(std::islower(static_cast<unsigned char>(c)) ||
                        std::isdigit(static_cast<unsigned char>(c)) || c == '_' || c == '-')
                << "'" << c << "' in " << id::appId;
            if (previous == '.') {
                EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(c))) << id::appId;
            }
        }
        previous = c;
    }
    EXPECT_NE(previous, '.');
    EXPECT_GE(parts, 3);
    EXPECT_TRUE(id::appId.ends_with("." + std::string(id::productName)));
}

TEST(Identity, NamesAreFilledIn) {
    for (std::string_view value :
         {id::productName, id::displayName, id::companyName, id::internalName, id::summary}) {
        EXPECT_FALSE(value.empty());
        EXPECT_EQ(value.find('@'), std::string_view::npos) << "unreplaced placeholder: " << value;
    }
}

}  // namespace
