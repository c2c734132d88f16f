#include "registration/UpdateClassCategories.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const CATID kImplemented = {0x7DD95801, 0x9882, 0x11CF, {0x9F, 0xA9, 0x00, 0xAA, 0x00, 0x6C, 0x42, 0xC4}};
const CATID kRequired = {0x7DD95802, 0x9882, 0x11CF, {0x9F, 0xA9, 0x00, 0xAA, 0x00, 0x6C, 0x42, 0xC4}};
const CATID kForeign = {0x0DE86A52, 0x2BAA, 0x11CF, {0xA2, 0x29, 0x00, 0xAA, 0x00, 0x3D, 0x73, 0x52}};

std::wstring Text(REFGUID guid)
{
    wchar_t text[64];
    StringFromGUID2(guid, text, 64);
    return text;
}

// A fresh class id per test, its keys under HKEY_CLASSES_ROOT removed after.
class UpdateClassCategoriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        ASSERT_EQ(S_OK, CoCreateGuid(&classId));
        classKey = L"CLSID\\" + Text(classId);
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey.c_str());
        CoUninitialize();
    }

    bool KeyExists(const std::wstring& below) const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (classKey + below).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    void MakeKey(const std::wstring& below) const
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, (classKey + below).c_str(), 0, nullptr, 0,
                                                 KEY_WRITE, nullptr, &key, nullptr));
        RegCloseKey(key);
    }

    CLSID classId = {};
    std::wstring classKey;
    const std::wstring implementedKey = L"\\Implemented Categories";
    const std::wstring requiredKey = L"\\Required Categories";
};

TEST_F(UpdateClassCategoriesTest, NoMapOrNoClassDoesNothing)
{
    const trevik::CategoryMapEntry map[] = {{trevik::kImplementedCategory, &kImplemented}, {0, nullptr}};
    EXPECT_EQ(S_OK, trevik::UpdateClassCategories(classId, nullptr, true));
    EXPECT_EQ(S_OK, trevik::UpdateClassCategories(GUID_NULL, map, true));
    EXPECT_FALSE(KeyExists(L""));
    EXPECT_FALSE(KeyExists(implementedKey)) ;
}

TEST_F(UpdateClassCategoriesTest, CategoriesAreRecordedThenWithdrawnWithTheirEmptyKeys)
{
    const trevik::CategoryMapEntry map[] = {
        {trevik::kImplementedCategory, &kImplemented}, {trevik::kRequiredCategory, &kRequired}, {0, nullptr}};
    ASSERT_EQ(S_OK, trevik::UpdateClassCategories(classId, map, true));
    EXPECT_TRUE(KeyExists(implementedKey + L"\\" + Text(kImplemented)));
    EXPECT_TRUE(KeyExists(requiredKey + L"\\" + Text(kRequired)));

    ASSERT_EQ(S_OK, trevik::UpdateClassCategories(classId, map, false));
    EXPECT_FALSE(KeyExists(implementedKey));
    EXPECT_FALSE(KeyExists(requiredKey));
}

TEST_F(UpdateClassCategoriesTest, KindsOtherThanImplementedAreRequired)
{
    const trevik::CategoryMapEntry map[] = {{7, &kRequired}, {0, nullptr}};
    ASSERT_EQ(S_OK, trevik::UpdateClassCategories(classId, map, true));
    EXPECT_TRUE(KeyExists(requiredKey + L"\\" + Text(kRequired)));
    EXPECT_FALSE(KeyExists(implementedKey + L"\\" + Text(kRequired)));
}

TEST_F(UpdateClassCategoriesTest, KeyThatStillHasSubkeysStays)
{
    MakeKey(implementedKey + L"\\" + Text(kForeign));
    const trevik::CategoryMapEntry map[] = {
        {trevik::kImplementedCategory, &kImplemented}, {trevik::kRequiredCategory, &kRequired}, {0, nullptr}};
    ASSERT_EQ(S_OK, trevik::UpdateClassCategories(classId, map, true));
    ASSERT_EQ(S_OK, trevik::UpdateClassCategories(classId, map, false));
    EXPECT_TRUE(KeyExists(implementedKey + L"\\" + Text(kForeign)));
    EXPECT_FALSE(KeyExists(implementedKey + L"\\" + Text(kImplemented)));
    EXPECT_FALSE(KeyExists(requiredKey));
}

TEST_F(UpdateClassCategoriesTest, EmptyMapStillClearsEmptyKeysWhenUnregistering)
{
    const trevik::CategoryMapEntry empty[] = {{0, nullptr}};
    EXPECT_EQ(S_OK, trevik::UpdateClassCategories(classId, empty, true));
    EXPECT_FALSE(KeyExists(L""));

    MakeKey(implementedKey);
    MakeKey(requiredKey);
    EXPECT_EQ(S_OK, trevik::UpdateClassCategories(classId, empty, false));
    EXPECT_FALSE(KeyExists(implementedKey));
    EXPECT_FALSE(KeyExists(requiredKey));
    EXPECT_EQ(S_OK, trevik::UpdateClassCategories(classId, empty, false)) << "absent keys are no error";
}

}  // namespace
