// The sysex editor: a message into its table, then typed cells (any text into
// any row and column, in range or not), cleared cells that cut the message,
// and the rebuild of the message from the table with its checks.
#include "midi/clsHexEditor.h"
#include "support/ScriptedUi.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

using namespace toneloft;

namespace {

std::string take(std::span<const std::uint8_t>& in, std::size_t n)
{
    n = std::min(n, in.size());
    std::string out(reinterpret_cast<const char*>(in.data()), n);
    in = in.subspan(n);
    return out;
}

std::size_t takeByte(std::span<const std::uint8_t>& in)
{
    if (in.empty())
        return 0;
    const std::size_t b = in[0];
    in = in.subspan(1);
    return b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> in(data, size);
    test::ScriptedUi ui;
    ui.tickMs = 1000;
    clsHexEditor editor(ui);
    // The message: a length in two bytes, then that many bytes.
    const std::size_t length = takeByte(in) << 8 | takeByte(in);
    editor.InitHexGrid(take(in, length));

    while (!in.empty()) {
        const std::size_t op = takeByte(in);
        // Rows and columns a little past the table's edges on both sides.
        const long row = static_cast<long>(takeByte(in)) - 2;
        const int column = static_cast<int>(op >> 3 & 31) - 4;
        switch (op & 7) {
        case 0:
        case 1:
        case 2: // a typed cell
            (void)editor.setCell(row, column, take(in, takeByte(in) % 16));
            break;
        case 3: // a cleared cell, with the answer to "truncate here?"
            ui.answers.push_back(op & 0x80 ? MsgResult::Yes : MsgResult::No);
            (void)editor.blankCell(row, column);
            ui.answers.clear();
            break;
        case 4: (void)editor.cell(row, column); break;
        case 5: { // the rebuild, answering a doubtful message with the op's bits
            ui.answers.push_back((op & 0x18) == 0 ? MsgResult::Yes : (op & 0x18) == 8 ? MsgResult::No
                                                                                        : MsgResult::Cancel);
            const clsHexEditor::Result result = editor.UpdateRecordset();
            ui.answers.clear();
            if (result.outcome == clsHexEditor::Outcome::Accept && result.bytes != editor.bytes())
                __builtin_trap(); // accepted bytes must be what the table holds
            break;
        }
        default: { // a new message from the bytes that follow
            const std::string message = take(in, takeByte(in));
            editor.InitHexGrid(message);
            if (!message.empty() && editor.bytes() != message)
                __builtin_trap(); // the table must hold the message as it came
            break;
        }
        }
    }
    (void)editor.UpdateRecordset();
    return 0;
}
