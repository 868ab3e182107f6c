// Writing to paths on Windows: what Windows refuses is named, and the old
// file and the folder stay as they were; a replace leaves nothing behind and
// keeps what the old file was given, also when ReplaceFileW fails half-way. (Paths at the length
// limit and files held by another program are checked through the renderer, in
// tests/windows/check_windows.sh.)
#include "render/filecalls_win.h"
#include "render/imagefile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <functional>
#include <memory>
#include <string>

using namespace pismolot;

namespace {

QImage sample() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    return image;
}

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList listing(const QString& dir) {
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

const QByteArray OldBytes = "the old file";

bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Lays out what the case needs in `dir` and returns the path to write; may
// hold something open until the returned guard goes.
using Setup = std::function<QString(const QString& dir, std::shared_ptr<void>& hold)>;

QString oldFile(const QString& dir, const QString& name) {
    const QString path = dir + u'/' + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(OldBytes);
    return path;
}

struct Refusal {
    const char* name;
    Setup setup;
    WriteError expected;
};

void PrintTo(const Refusal& c, std::ostream* os) {
    *os << c.name;
}

class Refusals : public testing::TestWithParam<Refusal> {};

TEST_P(Refusals, AreNamedAndTouchNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::shared_ptr<void> hold;
    const QString path = GetParam().setup(dir.path(), hold);
    const QStringList before = listing(dir.path());
    const bool existed = QFile::exists(path);

    const WriteStatus status = writeImageFile(path, sample(), ImageFormat::Bmp, Commit::Durable);
    hold.reset();

    EXPECT_EQ(status.error, GetParam().expected) << status.systemText.toStdString();
    EXPECT_EQ(listing(dir.path()), before);
    if (existed && QFileInfo(path).isFile()) {
        SetFileAttributesW(wide(path), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(contents(path), OldBytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Refusals,
    testing::Values(
        Refusal{"folder",
                [](const QString& dir, auto&) {
                    QDir(dir).mkdir(QStringLiteral("obrazy.bmp"));
                    return dir + QStringLiteral("/obrazy.bmp");
                },
                WriteError::IsDirectory},
        Refusal{"read_only_file",
                [](const QString& dir, auto&) {
                    const QString path = oldFile(dir, QStringLiteral("stary.bmp"));
                    SetFileAttributesW(wide(QDir::toNativeSeparators(path)),
                                       FILE_ATTRIBUTE_READONLY);
                    return path;
                },
                WriteError::ReadOnlyFile},
        Refusal{"open_in_another_program",
                [](const QString& dir, std::shared_ptr<void>& hold) {
                    const QString path = oldFile(dir, QStringLiteral("otwarty.bmp"));
                    // As an editor holds a file: read, shared for reading only.
                    HANDLE h = CreateFileW(wide(QDir::toNativeSeparators(path)), GENERIC_READ,
                                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
                    hold = std::shared_ptr<void>(h, [](void* h) { CloseHandle(h); });
                    return path;
                },
                WriteError::InUse},
        Refusal{"device_con",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/CON"); },
                WriteError::BadName},
        Refusal{"device_nul",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/NUL"); },
                WriteError::BadName},
        Refusal{"device_com1",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/COM1"); },
                WriteError::BadName},
        Refusal{"device_aux_with_extension",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/aux.bmp"); },
                WriteError::BadName},
        Refusal{"device_nul_with_extension",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/nul.bmp"); },
                WriteError::BadName},
        Refusal{"device_con_with_extension",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/con.png"); },
                WriteError::BadName},
        Refusal{"device_com_superscript_with_extension",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/COM\u00B9.bmp"); },
                WriteError::BadName},
        Refusal{"refused_character",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/co?.bmp"); },
                WriteError::BadName},
        Refusal{"trailing_dot",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/napis."); },
                WriteError::BadName},
        Refusal{"path_over_260",
                [](const QString& dir, auto&) {
                    return dir + u'/' + QString(260, u'x') + QStringLiteral(".bmp");
                },
                WriteError::PathTooLong},
        Refusal{"missing_folder",
                [](const QString& dir, auto&) { return dir + QStringLiteral("/nie ma/a.bmp"); },
                WriteError::NoSuchFolder}));

struct Written {
    const char* name;
    const char16_t* file;
    bool existed;
};

void PrintTo(const Written& c, std::ostream* os) {
    *os << c.name;
}

class Writes : public testing::TestWithParam<Written> {};

TEST_P(Writes, LandWholeUnderTheNameAsTyped) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = QString::fromUtf16(GetParam().file);
    const QString path = GetParam().existed ? oldFile(dir.path(), name) : dir.path() + u'/' + name;
    for (const Commit how : {Commit::Fast, Commit::Durable}) {
        const WriteStatus status = writeImageFile(path, sample(), ImageFormat::Bmp, how);
        ASSERT_TRUE(status.ok()) << status.systemText.toStdString();
        EXPECT_EQ(contents(path), encodeBmp24(sample()));
        EXPECT_EQ(listing(dir.path()), QStringList{name});
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Writes,
                         testing::Values(Written{"new_file", u"nowy.bmp", false},
                                         Written{"replaced_file", u"stary.bmp", true},
                                         Written{"polish_name", u"żółw – gęś.bmp", false},
                                         Written{"no_extension", u"napis", false},
                                         Written{"device_word_inside", u"console.bmp", false}));

// The hidden attribute the user gave the old file stays with the name.
TEST(KeptOnReplace, HiddenAttribute) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path =
        QDir::toNativeSeparators(oldFile(dir.path(), QStringLiteral("ukryty.bmp")));
    ASSERT_TRUE(SetFileAttributesW(wide(path), FILE_ATTRIBUTE_HIDDEN));
    for (const Commit how : {Commit::Fast, Commit::Durable}) {
        const WriteStatus status = writeImageFile(path, sample(), ImageFormat::Bmp, how);
        ASSERT_TRUE(status.ok()) << status.systemText.toStdString();
        EXPECT_TRUE(GetFileAttributesW(wide(path)) & FILE_ATTRIBUTE_HIDDEN);
        EXPECT_EQ(contents(path), encodeBmp24(sample()));
        EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("ukryty.bmp")});
    }
}

// The access rules, as SDDL.
QString accessRules(const QString& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(wide(path), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return QStringLiteral("<unreadable>");
    wchar_t* text = nullptr;
    QString result;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
        result = QString::fromWCharArray(text);
        LocalFree(text);
    }
    LocalFree(descriptor);
    return result;
}

TEST(KeptOnReplace, ExplicitAccessRule) {
    if (underWine())
        GTEST_SKIP() << "Wine keeps no access rules of its own on a file: its files are the "
                        "host's, with Unix permissions only";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path =
        QDir::toNativeSeparators(oldFile(dir.path(), QStringLiteral("reguły.bmp")));
    // An explicit rule, cut off from the folder's inherited ones: a temporary
    // file moved into place would come with the folder's instead.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;FA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    const DWORD set =
        SetNamedSecurityInfoW(const_cast<wchar_t*>(wide(path)), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, dacl, nullptr);
    LocalFree(descriptor);
    ASSERT_EQ(set, DWORD(ERROR_SUCCESS));
    const QString before = accessRules(path);
    ASSERT_TRUE(before.startsWith(QStringLiteral("D:P"))) << before.toStdString();

    const WriteStatus status = writeImageFile(path, sample(), ImageFormat::Bmp);

    ASSERT_TRUE(status.ok()) << status.systemText.toStdString();
    EXPECT_EQ(accessRules(path), before);
    EXPECT_EQ(contents(path), encodeBmp24(sample()));
}

// ReplaceFileW's rarer failures, made to happen: the old file must never be
// lost, and a failure that may pass is waited out.
struct ReplaceFailure {
    const char* name;
    DWORD error;       // what the failing ReplaceFileW reports
    int failures;      // how many calls fail before the real one runs
    bool movesOldAway; // the failure leaves the old file under the backup name
    bool putBackFails; // and moving it back fails too
    bool written;      // the new picture lands
    bool keptAsBackup; // the old file is left under the backup name, and said so
};

void PrintTo(const ReplaceFailure& c, std::ostream* os) {
    *os << c.name;
}

// The fakes' state: they are plain function pointers.
const ReplaceFailure* failing = nullptr;
int replaceCalls = 0;
std::wstring backupName;

BOOL WINAPI failingReplace(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                           LPVOID exclude, LPVOID reserved) {
    backupName = backup ? backup : L"";
    if (replaceCalls++ >= failing->failures && failing->failures >= 0)
        return ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
    if (failing->movesOldAway)
        MoveFileExW(replaced, backup, 0);
    SetLastError(failing->error);
    return FALSE;
}

BOOL WINAPI failingMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
    if (failing->putBackFails && from == backupName) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return MoveFileExW(from, to, flags);
}

class ReplaceFailures : public testing::TestWithParam<ReplaceFailure> {};

TEST_P(ReplaceFailures, NeverLoseTheOldFile) {
    const ReplaceFailure& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = oldFile(dir.path(), QStringLiteral("stary.bmp"));
    failing = &c;
    replaceCalls = 0;
    WriteStatus status;
    {
        const detail::WinFileCallsSwap swap({failingReplace, failingMove});
        status = writeImageFile(path, sample(), ImageFormat::Bmp);
    }

    EXPECT_GE(replaceCalls, 1);
    if (c.written) {
        ASSERT_TRUE(status.ok()) << status.systemText.toStdString();
        EXPECT_EQ(contents(path), encodeBmp24(sample()));
        EXPECT_EQ(listing(dir.path()), QStringList{QStringLiteral("stary.bmp")});
        return;
    }
    EXPECT_FALSE(status.ok());
    // Failures that may pass are tried again; once the old file is away from
    // its name, nothing more is tried.
    if (c.keptAsBackup)
        EXPECT_EQ(replaceCalls, 1);
    else
        EXPECT_GT(replaceCalls, 3);
    const QStringList left = listing(dir.path());
    ASSERT_EQ(left.size(), 1) << left.join(u' ').toStdString();
    if (c.keptAsBackup) {
        EXPECT_TRUE(left.front().startsWith(u'~') && left.front().endsWith(QStringLiteral(".bak")))
            << left.front().toStdString();
        EXPECT_TRUE(status.systemText.endsWith(left.front())) << status.systemText.toStdString();
        EXPECT_EQ(contents(dir.path() + u'/' + left.front()), OldBytes);
    } else {
        EXPECT_EQ(status.error, WriteError::InUse) << status.systemText.toStdString();
        EXPECT_EQ(left.front(), QStringLiteral("stary.bmp"));
        EXPECT_EQ(contents(path), OldBytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplaceFailures,
    testing::Values(
        // Both files keep their names: another program's handle, soon gone.
        ReplaceFailure{"brief_hold_waited_out", ERROR_UNABLE_TO_MOVE_REPLACEMENT, 2, false, false,
                       true, false},
        ReplaceFailure{"lasting_hold", ERROR_UNABLE_TO_REMOVE_REPLACED, -1, false, false, false,
                       false},
        // The old file was moved to the backup name: it is put back.
        ReplaceFailure{"old_file_put_back", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, -1, true, false,
                       false, false},
        ReplaceFailure{"put_back_once_then_written", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, 1, true,
                       false, true, false},
        // It cannot be put back: it stays under the backup name, which the
        // message names.
        ReplaceFailure{"old_file_kept_as_backup", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, -1, true,
                       true, false, true},
        // A file system that cannot replace: a plain rename instead.
        ReplaceFailure{"replace_not_supported", ERROR_NOT_SUPPORTED, -1, false, false, true,
                       false}));

} // namespace
