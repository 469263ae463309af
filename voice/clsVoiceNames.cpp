#include "voice/clsVoiceNames.h"

#include "common/NumberText.h"
#include "voice/Session.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceColumn.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <optional>

namespace toneloft {

namespace {

// The file dialog hands back at most this many characters for one selection
// (folder, names and their separators) and a title of at most 256.
constexpr std::size_t kMaxSelectionChars = 1024;
constexpr int kNamesPageSize = 32;

const std::vector<FileFilter>& voiceFileFilters()
{
    static const std::vector<FileFilter> filters = {
        {"DX voice (*.dat,*.syx,*.dx7,*.32)", "*.dat;*.syx;*.dx7;*.32"},
        {"All Files (*.*)", "*.*"},
    };
    return filters;
}

} // namespace

clsVoiceNames::clsVoiceNames(Session& session) : m_session(session), m_table(NewVoiceNameTable()) {}

clsVoiceNames::~clsVoiceNames() = default;

void clsVoiceNames::setTable(std::unique_ptr<Recordset> table)
{
    m_table = table ? std::move(table) : NewVoiceNameTable();
}

std::unique_ptr<Recordset> clsVoiceNames::takeTable()
{
    auto t = std::move(m_table);
    m_table = NewVoiceNameTable();
    return t;
}

void clsVoiceNames::InitRecordset(Recordset& table)
{
    using T = Recordset::FieldType;
    table.appendField(kID, T::Text, 10);
    table.appendField(kData, T::Text, 145);
    table.appendField(kNames, T::Text, 10, true);
    table.appendField(kCRCAll, T::Text, 15);
    table.appendField(kCRCExName, T::Text, 15);
    table.appendField(kChecksumAll, T::Text, 15);
    table.appendField(kChecksumExName, T::Text, 15);
    table.appendField(kDelSelected, T::Boolean);
    table.setPageSize(kNamesPageSize);
    table.open();
}

std::unique_ptr<Recordset> clsVoiceNames::NewVoiceNameTable()
{
    auto t = std::make_unique<Recordset>();
    InitRecordset(*t);
    return t;
}

std::unique_ptr<Recordset> clsVoiceNames::NewVoiceNameTable(VoiceLayout layout)
{
    auto t = NewVoiceNameTable();
    VoiceColumn::attachTo(*t, layout);
    return t;
}

std::unique_ptr<Recordset> clsVoiceNames::CopyRecordset(Recordset& source, long firstRow, long rowCount, bool quiet)
{
    auto fresh = NewVoiceNameTable();
    if (!CopyRecordset(source, *fresh, firstRow, rowCount, quiet))
        return nullptr;
    return fresh;
}

bool clsVoiceNames::CopyRecordset(Recordset& source, Recordset& targetTable, long firstRow, long rowCount,
                                  bool quiet)
{
    std::optional<BusyPointer> busy;
    if (!quiet)
        busy.emplace(m_session.ui());

    Recordset* target = &targetTable;
    if (!source.isOpen())
        return false;
    if (firstRow == -1)
        source.moveFirst();
    else
        source.setAbsolutePosition(firstRow);

    const int fields = source.fieldCount();
    std::vector<int> targetIndex(static_cast<std::size_t>(fields));
    for (int f = 0; f < fields; ++f)
        targetIndex[static_cast<std::size_t>(f)] = target->fieldIndex(source.field(f).name);

    for (long n = 0; n < rowCount && !source.eof(); ++n) {
        target->addNew();
        for (int f = 0; f < fields; ++f) {
            const int t = targetIndex[static_cast<std::size_t>(f)];
            if (t >= 0)
                target->setValue(t, source.value(f));
        }
        target->update();
        source.moveNext();
    }
    source.moveFirst();
    target->moveFirst();
    return true;
}

std::unique_ptr<Recordset> clsVoiceNames::BuildVoiceNameTable(std::span<const std::uint8_t> image, int fileType,
                                                              bool& anyCleaned)
{
    return BuildVoiceNameTable(ByteArray(image.begin(), image.end()), fileType, anyCleaned);
}

std::unique_ptr<Recordset> clsVoiceNames::BuildVoiceNameTable(ByteArray&& image, int fileType, bool& anyCleaned)
{
    UiServices& ui = m_session.ui();
    BusyPointer busy(ui);
    anyCleaned = false;
    const std::optional<VoiceLayout> layout = voiceLayoutOf(fileType);
    if (!layout)
        return NewVoiceNameTable();
    auto table = NewVoiceNameTable(*layout);
    VoiceColumn& column = *VoiceColumn::of(*table);
    const std::size_t voiceSize = column.stride();
    const std::size_t voices = image.size() / voiceSize;
    // Names are cleaned in the image itself, which the column then takes whole.
    for (std::size_t v = 0; v < voices; ++v) {
        char* name = reinterpret_cast<char*>(image.data()) + v * voiceSize + voiceSize - Voice::kNameSize;
        bool cleaned = false;
        const std::string clean = CleanVoiceName(std::string_view(name, Voice::kNameSize), cleaned);
        if (!cleaned)
            continue;
        anyCleaned = true;
        std::fill_n(name, Voice::kNameSize, ' ');
        std::copy_n(clean.begin(), std::min(clean.size(), Voice::kNameSize), name);
    }
    table->reserve(voices);
    column.putImage(std::move(image));
    std::array<char, 16> id{};
    for (std::size_t v = 0; v < voices; ++v) {
        const long number = static_cast<long>(v) + 1;
        if (v % 32 == 0)
            ShowStatus(ui, "Setting up database for bank" + Str((number - 1) / 32 + 1));
        const auto idEnd = std::to_chars(id.data(), id.data() + id.size(), number).ptr;
        // The ID only: the row takes its voice from the column.
        const std::array<std::string_view, 1> row = {std::string_view(id.data(), idEnd)};
        table->appendTextRow(row);
    }
    ShowStatus(ui, "", 0, 0);
    table->moveFirst();
    return table;
}

bool clsVoiceNames::ConvertVariantArraytoByteArray(int fileType, Recordset& rows, ByteArray& image,
                                                   long voiceCount)
{
    image.clear();
    const int size = VoiceSizeOfType(fileType);
    if (size <= 0 || !rows.isOpen())
        return false;
    ShowStatus(m_session.ui(), "Please Wait - Checking File");
    const auto dataSize = static_cast<std::size_t>(size - 10);
    image.reserve(static_cast<std::size_t>(voiceCount > 0 ? voiceCount : 0) * static_cast<std::size_t>(size));
    // A second cursor, so the caller's position and filter stay as they are.
    auto all = rows.clone();
    all->clearFilter();
    const VoiceColumn* column = VoiceColumn::of(rows);
    if (column && column->stride() == static_cast<std::size_t>(size)) {
        for (all->moveFirst(); !all->eof(); all->moveNext())
            column->appendStored(all->currentSlot(), image);
    } else {
        const int dataField = rows.fieldIndex(kData);
        const int namesField = rows.fieldIndex(kNames);
        for (all->moveFirst(); !all->eof(); all->moveNext()) {
            std::string data = all->text(dataField);
            std::string name = all->text(namesField);
            data.resize(dataSize, '\0');
            name.resize(10, ' ');
            image.insert(image.end(), data.begin(), data.end());
            image.insert(image.end(), name.begin(), name.end());
        }
    }
    ShowStatus(m_session.ui(), "", 0, 0);
    return true;
}

clsVoiceNames::FileChoice clsVoiceNames::GetFileName(const std::string& dialogTitle, DialogMode mode,
                                                     const std::string& startFileName,
                                                     const std::string& startFileTitle)
{
    FileChoice choice;
    FileDialogRequest request;
    request.mode = mode == DialogMode::Open ? FileDialogRequest::Mode::Open : FileDialogRequest::Mode::Save;
    request.title = dialogTitle;
    request.filters = voiceFileFilters();
    request.defaultExtension = "dat";
    request.multiSelect = mode == DialogMode::Open;
    request.helpTopic = mode == DialogMode::Open ? "::/dlg_MainWindow.htm#FileOpen"
                                                 : "::/dlg_MainWindow.htm#FileSaveAs";
    if (!startFileName.empty()) {
        const std::string title = startFileTitle.empty() ? clsVoiceLists::GetFileTitle(startFileName)
                                                         : startFileTitle;
        request.initialDirectory = startFileName.substr(0, startFileName.size() - title.size());
        request.initialFile = title;
    }
    if (request.initialDirectory.empty())
        request.initialDirectory = m_session.DataDirectory();

    const FileDialogResult result = m_session.ui().fileDialog(request);
    if (result.cancelled || result.files.empty())
        return choice;

    std::size_t chars = result.folder.size() + 2;
    for (const auto& f : result.files)
        chars += f.size() + 1;
    if (chars > kMaxSelectionChars) {
        m_session.ui().MsgBox("Too many files selected", "Toneloft", MsgIcon::Exclamation);
        return choice;
    }

    m_session.setDataDirectory(result.folder);
    const std::string folder = m_session.DataDirectory();
    for (const auto& f : result.files) {
        if (f.empty())
            break;
        choice.fileNames.push_back(folder + f);
    }
    if (choice.fileNames.empty())
        return choice;
    choice.chosen = true;
    choice.fileName = choice.fileNames.front();
    choice.fileTitle = clsVoiceLists::GetFileTitle(choice.fileName);
    return choice;
}

void clsVoiceNames::OpenMultipleFiles()
{
    const FileChoice choice = GetFileName("Open DX7 Voice Data File", DialogMode::Open);
    if (!choice.chosen)
        return;
    for (const auto& name : choice.fileNames)
        CreateVoiceListandFileImage(name, false);
}

std::shared_ptr<VoiceList> clsVoiceNames::CreateVoiceListandFileImage(const std::string& fileName, bool temporary)
{
    clsVoiceLists& lists = m_session.colVoiceLists();
    // Refused as not voice data (rather than missing, empty or already open):
    // there may still be whole voices inside.
    std::string checked = fileName;
    int checkedType = -1;
    const bool notVoiceData = CheckFileIntegrity(m_session.ui(), checked, checkedType, true, {}) == -3;
    int type = -1;
    auto list = lists.Add(fileName, type);
    if (!list) {
        if (notVoiceData && !temporary)
            return OpenVoicesFoundInside(fileName);
        return nullptr;
    }

    ByteArray image;
    std::int32_t crc = 0;
    if (!GetFileByt(m_session.ui(), fileName, list->FileTitle, type, image, crc, true)) {
        lists.Delete(list->ID);
        // A message file whose header is not a DX7 voice message's.
        if ((type == 1 || type == 3) && !temporary)
            return OpenVoicesFoundInside(fileName);
        return nullptr;
    }
    bool anyCleaned = false;
    list->setRsmfimage(BuildVoiceNameTable(std::move(image), type, anyCleaned));
    list->mark = temporary ? VoiceList::kNeverSaved : crc;
    m_session.notify([&](SessionObserver& o) { o.listLoaded(*list); });

    if (anyCleaned) {
        m_session.ui().MsgBox("Some of the voice names in " + list->FileTitle +
                                  " contain invalid characters that cannot be displayed.\r\n\r\n"
                                  "\t\tThese have been replaced with spaces.\r\n\r\n"
                                  "If you do not want to make these changes permanent, close the file now "
                                  "without saving it",
                              "Invalid Voice Name Characters", MsgIcon::Exclamation);
    }
    return list;
}

std::shared_ptr<VoiceList> clsVoiceNames::InitPatchView(std::string_view data)
{
    ++m_session.patchViewCounter;
    const std::string fileName =
        m_session.DataDirectory() + "DX Setup " + Str(m_session.patchViewCounter) + ".dat";
    if (!SaveVoiceDataToFileByt(nullptr, fileName, -1, false, data, "", FileAttributes::Hidden))
        return nullptr;
    return CreateVoiceListandFileImage(fileName, true);
}

clsVoiceNames::CurrentVoiceList clsVoiceNames::GetCurrentVoiceListAndEditor() const
{
    CurrentVoiceList current;
    VoiceEditor* editor = m_session.activeEditor();
    VoiceList* list = m_session.activeList();
    if (editor && editor->list) {
        current.editor = editor;
        current.editorActive = true;
        list = editor->list;
    }
    if (list) {
        current.list = list;
        current.key = list->ID;
    }
    return current;
}

} // namespace toneloft
