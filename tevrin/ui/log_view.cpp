#include "tevrin/ui/log_view.h"

#include "tevrin/core/message_box.h"
#include "tevrin/core/windows_handles.h"
#include "tevrin/ui/clipboard.h"
#include "tevrin/ui/font.h"
#include "tevrin/ui/handle_queries.h"

#include <algorithm>

namespace tevrin {
namespace {

constexpr COLORREF backgroundColour = 0x404040;
constexpr COLORREF colourTable[] = {0xC0C0C0, 0xFFFFFF, 0x00FFFF, 0x0080FF, 0x0000FF};
constexpr int wheelRows = 5;
constexpr int textLeft = 5;
constexpr i32 rowHeightAt96 = 12;

COLORREF ColourOf(i32 index)
{
    const i32 last = static_cast<i32>(sizeof colourTable / sizeof colourTable[0]) - 1;
    return colourTable[std::clamp(index, 0, last)];
}

bool OnlyUnderscores(const std::string& text)
{
    return !text.empty() && text.find_first_not_of('_') == std::string::npos;
}

}  // namespace

LogView::LogView(u64 maximumLines) : itemTable_(maximumLines), table_(&itemTable_)
{
    styleKind = kindChild;
    noEraseBackground = true;
    verticalScrollBar = true;
}

LogView::~LogView()
{
    Notify(destroyedEvent, this);
    backBuffer_.destroy();
    if (table_)
        table_->clear();
}

void LogView::HandleCreateEvent()
{
    SetDpi(WindowDpi(hwnd));
}

void LogView::SetDpi(int dpi)
{
    lineHeight_ = static_cast<i32>(rowHeightAt96 * (dpi / 96.0) + 0.5);
    font_ = std::make_unique<Font>(LogFont().GetFaceName().c_str(), LogFont().GetPointSize(), LogFont().IsBold(), dpi);
    ScrollTo(top_);
}

i32 LogView::VisibleRows() const
{
    return lineHeight_ > 0 ? GetClientHeight() / lineHeight_ : 0;
}

bool LogView::NewestLineInView() const
{
    const i32 newest = table_->count() - 1;
    return top_ <= newest && newest <= top_ + VisibleRows() - 1;
}

i32 LogView::LastTop() const
{
    return std::max(table_->count() - 1, 0);
}

void LogView::AddLine(const std::string& text, u32 kind, u32 /*extra*/)
{
    Append(log_entry{text, static_cast<i32>(kind), false});
}

void LogView::Append(const log_entry& entry)
{
    if (!table_)
        return;
    if (StoreEntry(entry))
        Invalidate();
    UpdateScrollBar();
    Update();
}

void LogView::AddLines(const queued_log_lines& lines)
{
    if (!table_)
        return;
    // The scroll bar and the paint are the costly part of a line; they wait for
    // ShowNewLines, which does them once for all.
    for (const queued_log_line& line : lines)
        StoreEntry(log_entry{line.text, static_cast<i32>(line.kind), false});
    newLines_.Changed();
}

void LogView::ShowNewLines()
{
    const RefreshPacer::Clock::time_point start = RefreshPacer::Clock::now();
    if (!newLines_.Due(start))
        return;
    UpdateScrollBar();
    Update();
    newLines_.Refreshed(start, RefreshPacer::Clock::now());
}

// Adds the entry's lines; the view follows them only if its end showed before.
// Returns whether top moved.
bool LogView::StoreEntry(const log_entry& entry)
{
    const bool followed = !(table_->count() - 1 >= top_ + VisibleRows());
    const bool rule = OnlyUnderscores(entry.text);
    size_t start = 0;
    while (start < entry.text.size()) {
        const size_t end = std::min(entry.text.find('\n', start), entry.text.size());
        if (end > start)
            table_->add(log_entry{entry.text.substr(start, end - start), entry.colourIndex, rule});
        start = end + 1;
    }
    const i32 before = top_;
    while (followed && !NewestLineInView() && top_ < table_->count() - 1)
        ++top_;
    return top_ != before;
}

void LogView::UpdateScrollBar()
{
    if (!hwnd)
        return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(table_->count() - 1, 0);
    info.nPage = static_cast<UINT>(std::max(VisibleRows(), 0));
    info.nPos = top_;
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    Invalidate();
}

void LogView::ScrollTo(i32 top)
{
    top_ = std::clamp(top, 0, LastTop());
    Invalidate();
    UpdateScrollBar();
}

bool LogView::HandlePaintEvent(GraphicsContext& gc, const RECT& /*dirty*/)
{
    const HDC windowDc = gc.DeviceContext();
    backBuffer_.create(windowDc, GetClientWidth(), GetClientHeight(), 24, "tevrin::LogView::HandlePaintEvent", true);
    backBuffer_.fill_color(backgroundColour);
    const HDC dc = backBuffer_.memory_dc();
    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ previousFont = SelectObject(dc, font_ ? font_->GetHandle() : LogFont().GetHandle());
    DrawRows(dc);
    SelectObject(dc, previousFont);
    BitBlt(windowDc, 0, 0, backBuffer_.width(), backBuffer_.height(), dc, 0, 0, SRCCOPY);
    return true;
}

void LogView::DrawRows(HDC dc)
{
    if (!table_)
        return;
    for (i32 row = 0; row < VisibleRows(); ++row) {
        const log_item* item = table_->item(top_ + row);
        if (!item)
            break;
        if (item->wideText.empty())
            continue;
        if (item->rule) {
            const int y = row * lineHeight_ + lineHeight_ / 2 + 1;
            const RECT line = {textLeft, y, backBuffer_.width() - textLeft, y + 1};
            FillRectangle(dc, line, ColourOf(item->colourIndex));
        } else {
            SetTextColor(dc, ColourOf(item->colourIndex));
            TextOutW(dc, textLeft, row * lineHeight_ + 2, item->wideText.c_str(),
                     static_cast<int>(item->wideText.size()));
        }
    }
}

bool LogView::HandleSizeEvent(int /*clientWidth*/, int /*clientHeight*/)
{
    if (!table_)
        return true;
    UpdateScrollBar();
    const i32 emptyRows = VisibleRows() - (table_->count() - top_);
    if (emptyRows > 0) {
        top_ = std::clamp(std::max(top_ - emptyRows, 0), 0, LastTop());
        Invalidate();
    }
    return true;
}

bool LogView::HandleWheelEvent(int notches)
{
    if (!table_)
        return false;
    // Towards the user (negative) scrolls down, away scrolls up.
    if (notches < 0 && !NewestLineInView())
        top_ += wheelRows;
    else if (notches > 0 && top_ > 0)
        top_ -= wheelRows;
    ScrollTo(top_);
    return true;
}

bool LogView::HandleScrollEvent(const ScrollInfo& info, int code)
{
    if (!info.vertical || !table_)
        return false;
    const i32 page = static_cast<i32>(info.page);
    i32 position = info.position;
    switch (code) {
    case SB_LINEUP: position -= 1; break;
    case SB_LINEDOWN: position += 1; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.max - page + 1; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos(hwnd, SB_VERT, info.trackPosition, TRUE);
        top_ = std::clamp(info.trackPosition, 0, LastTop());
        Invalidate();
        return true;
    case SB_ENDSCROLL: return true;
    default: break;
    }
    position = std::clamp(position, info.min, std::max(info.min, info.max - page + 1));
    SetScrollPos(hwnd, SB_VERT, position, TRUE);
    top_ = std::clamp(position, 0, LastTop());
    Update();
    return true;
}

bool LogView::HandlePointerUpEvent(int button)
{
    if (!table_)
        return false;
    if (button == 3)
        ShowContextMenu();
    return true;
}

void LogView::ShowContextMenu()
{
    POINT at = {press[3].x, press[3].y};
    ClientToScreen(hwnd, &at);
    const unique_menu menu(CreatePopupMenu());
    const UINT state = table_->count() == 0 ? MF_GRAYED : MF_ENABLED;
    AppendMenuW(menu.get(), MF_STRING | state, copyCommand, L"Copy");
    AppendMenuW(menu.get(), MF_STRING | state, clearCommand, L"Clear");
    // The pick arrives as WM_COMMAND and travels through the command routing.
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr);
}

bool LogView::HandleCommand(int id)
{
    if (!table_)
        return false;
    if (id == clearCommand) {
        table_->clear();
        top_ = 0;
        Invalidate();
        return true;
    }
    if (id == copyCommand) {
        CopyToClipboard();
        return true;
    }
    return false;
}

void LogView::CopyToClipboard()
{
    size_t units = 0;
    for (i32 i = 0; i < table_->count(); ++i)
        units += table_->item(i)->wideText.size() + 2;
    try {
        clipboard transfer(FindMessageBoxOwner(), CF_UNICODETEXT);
        auto* text = static_cast<wchar_t*>(transfer.allocate(2 * units + 2));
        for (i32 i = 0; i < table_->count(); ++i) {
            const std::wstring& line = table_->item(i)->wideText;
            text = std::copy(line.begin(), line.end(), text);
            *text++ = L'\r';
            *text++ = L'\n';
        }
        *text = L'\0';
        transfer.set_data();
    } catch (const clipboard_error& error) {
        log_line("Copy to the clipboard failed: %s. The log is unchanged; try Copy again.", error.what());
    }
}

}  // namespace tevrin
