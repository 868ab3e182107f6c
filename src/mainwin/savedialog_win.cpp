// The save question on Windows: the system's save dialog (the one with the
// navigation pane, address bar and search), modal to the owner, with no
// default extension: the name comes back as typed. The dialog asks before an
// existing file is replaced; the question before a new file is created is
// asked here, in Polish, when the user accepts a name, and "no" keeps the
// dialog open.
#include "mainwin/opensave.h"
#include "mainwin/savechoice.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

#include <windows.h>

#include <objbase.h>
#include <shobjidl.h>

#include <atomic>
#include <vector>

namespace {

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// Holds one reference to a COM object and gives it back.
template <class Interface> class Held {
public:
    Held() = default;
    explicit Held(Interface* adopted) : object_(adopted) {}
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (object_)
            object_->Release();
    }
    Interface* operator->() const { return object_; }
    Interface* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void** out() { return reinterpret_cast<void**>(&object_); }
    Interface** address() { return &object_; }

private:
    Interface* object_ = nullptr;
};

// COM on the calling thread for as long as the dialog lives. Qt's own
// Windows platform has it already; the minimal platform does not. A thread
// that chose the multithreaded apartment keeps it, and its COM stays the
// caller's to end.
class ComApartment {
public:
    ComApartment()
        : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        // S_FALSE (already on) is counted too and must be balanced.
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

// A shell item's file-system path, "" when it has none.
QString itemPath(IShellItem* item) {
    PWSTR name = nullptr;
    if (!item || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) || !name)
        return QString();
    QString path = QString::fromWCharArray(name);
    CoTaskMemFree(name);
    return path;
}

// The dialog's answer, and the name in its name box made a path in the
// folder it shows.
QString resultPath(IFileDialog* dialog) {
    Held<IShellItem> item;
    return SUCCEEDED(dialog->GetResult(item.address())) ? itemPath(item.get()) : QString();
}
QString typedPath(IFileDialog* dialog) {
    PWSTR typed = nullptr;
    if (FAILED(dialog->GetFileName(&typed)) || !typed)
        return QString();
    const QString name = QString::fromWCharArray(typed);
    CoTaskMemFree(typed);
    Held<IShellItem> folder;
    if (FAILED(dialog->GetFolder(folder.address())))
        return QString();
    return opensave::typedPath(itemPath(folder.get()), name);
}

// The questions when the user accepts a name: before a new file is created,
// and before an existing one is replaced where the dialog asked about
// another name. "No" keeps the dialog open. Every other notice is left to
// the dialog.
class NameQuestions final : public IFileDialogEvents {
public:
    explicit NameQuestions(QString title) : title_(std::move(title)) {}

    // The name last accepted, as the caller is to get it.
    QString path() const { return path_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IFileDialogEvents)) {
            *object = static_cast<IFileDialogEvents*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog* dialog) override {
        const opensave::Accepted accepted =
            opensave::acceptedName(resultPath(dialog), typedPath(dialog),
                                   [](const QString& path) { return QFileInfo::exists(path); });
        path_ = accepted.path;
        if (accepted.ask == opensave::Ask::Nothing)
            return S_OK;
        const QString text = accepted.ask == opensave::Ask::Create
                                 ? opensave::createQuestion(accepted.path)
                                 : opensave::replaceQuestion(accepted.path);
        // The question belongs to the dialog's window, so it stays above it.
        HWND window = nullptr;
        Held<IOleWindow> ole;
        if (SUCCEEDED(dialog->QueryInterface(IID_IOleWindow, ole.out())))
            ole->GetWindow(&window);
        const int answer =
            MessageBoxW(window, wide(text), wide(title_), MB_YESNO | MB_ICONQUESTION);
        return answer == IDYES ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*,
                                               FDE_SHAREVIOLATION_RESPONSE* response) override {
        *response = FDESVR_DEFAULT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*,
                                          FDE_OVERWRITE_RESPONSE* response) override {
        *response = FDEOR_DEFAULT;
        return S_OK;
    }

private:
    ~NameQuestions() = default;

    QString title_;
    QString path_;
    std::atomic<ULONG> references_{1};
};

// The owner's window handle; only Qt's Windows platform has real ones.
HWND ownerWindow(QWidget* owner) {
    if (!owner || QGuiApplication::platformName() != QLatin1String("windows"))
        return nullptr;
    return reinterpret_cast<HWND>(owner->window()->winId());
}

} // namespace

QString AskSaveFileName(QWidget* owner, QString filter, const QString& title,
                        const QString& initialDir, QString* selectedFilter) {
    filter = opensave::convertFilter(std::move(filter));
    const ComApartment com;
    // Where the system's dialog cannot be made (no COM, a broken shell) or
    // shown, the program's own dialog asks the same questions rather than
    // the command silently doing nothing.
    Held<IFileSaveDialog> dialog;
    if (!com.usable() ||
        FAILED(CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFileSaveDialog, dialog.out())))
        return opensave::askWithSaveFileDialog(owner, filter, title, initialDir, selectedFilter);

    // Only these: the dialog's defaults for saving would also refuse a
    // read-only file, which the program's writer explains itself.
    dialog->SetOptions(FOS_OVERWRITEPROMPT | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR |
                       FOS_FORCEFILESYSTEM);
    const QList<opensave::FileType> types = opensave::fileTypes(filter);
    std::vector<COMDLG_FILTERSPEC> table;
    for (const opensave::FileType& type : types)
        table.push_back({wide(type.name), wide(type.patterns)});
    if (!table.empty()) {
        dialog->SetFileTypes(UINT(table.size()), table.data());
        dialog->SetFileTypeIndex(1);
    }
    dialog->SetTitle(wide(title));
    if (!initialDir.isEmpty()) {
        Held<IShellItem> folder;
        if (SUCCEEDED(SHCreateItemFromParsingName(wide(QDir::toNativeSeparators(initialDir)),
                                                  nullptr, IID_IShellItem, folder.out())))
            dialog->SetFolder(folder.get());
    }

    const Held<NameQuestions> questions(new NameQuestions(title));
    DWORD cookie = 0;
    const bool advised = SUCCEEDED(dialog->Advise(questions.get(), &cookie));
    // Without the create question the dialog would take any new name unasked.
    if (!advised)
        return opensave::askWithSaveFileDialog(owner, filter, title, initialDir, selectedFilter);
    const HRESULT shown = dialog->Show(ownerWindow(owner));
    dialog->Unadvise(cookie);

    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return QString();
    if (FAILED(shown))
        return opensave::askWithSaveFileDialog(owner, filter, title, initialDir, selectedFilter);
    // The name the questions were about; the dialog's own where it never
    // told of one.
    QString path = questions->path().isEmpty() ? resultPath(dialog.get()) : questions->path();
    UINT index = 0;
    if (selectedFilter && SUCCEEDED(dialog->GetFileTypeIndex(&index)) && index >= 1 &&
        index <= UINT(types.size()))
        *selectedFilter = types[qsizetype(index) - 1].nameFilter;
    return path;
}
