#pragma once
// tevrin::LogView: the log pane. Shows the user log in colour on a dark background,
// keeps a bounded number of lines, follows new lines while the newest is in view, and
// offers "Copy" and "Clear" on a right-click menu.
#include "tevrin/core/diagnostics.h"
#include "tevrin/raster/dib.h"
#include "tevrin/ui/log_item_table.h"
#include "tevrin/ui/refresh_pacer.h"
#include "tevrin/ui/window.h"

#include <memory>
#include <string>

namespace tevrin {

class LogView : public Window, public ILogLineSink {
public:
    static constexpr int copyCommand = 40000;
    static constexpr int clearCommand = 40001;
    static constexpr u32 destroyedEvent = 1;  // told to the listeners on destruction

    explicit LogView(u64 maximumLines);
    ~LogView() override;

    const char* GetTypeName() const override { return "LogView"; }
    void HandleCreateEvent() override;
    bool HandlePaintEvent(GraphicsContext& gc, const RECT& dirty) override;
    bool HandleSizeEvent(int clientWidth, int clientHeight) override;
    bool HandlePointerUpEvent(int button) override;
    bool HandleWheelEvent(int notches) override;
    bool HandleScrollEvent(const ScrollInfo& info, int code) override;
    bool HandleCommand(int id) override;

    // Adds the entry's text, one item per line; the pane follows while its end shows.
    void Append(const log_entry& entry);
    // One user-log line (kind is the colour index), shown at once.
    void AddLine(const std::string& text, u32 kind, u32 extra) override;
    // The lines of one drain of the user-log queue: stored as Append stores them, and
    // shown by the next ShowNewLines.
    void AddLines(const queued_log_lines& lines) override;
    // Called on every idle pass: updates the scroll bar and repaints once for all the
    // lines added since the last showing, when the pacer says it is time.
    void ShowNewLines();

    // Puts every line, oldest first and each ended by CR LF, on the clipboard as text.
    // A failed step is reported in the log itself.
    void CopyToClipboard();

    const ILogItemTable* GetTable() const { return table_; }
    i32 GetTopItem() const { return top_; }
    i32 GetLineHeight() const { return lineHeight_; }
    i32 VisibleRows() const;
    // The font and the line height follow the window's DPI: set at creation and again
    // when the window moves to a monitor of another scale.
    void SetDpi(int dpi);

    // Back-buffer memory; the owner sets both (malloc and free) before the first paint.
    dib& BackBuffer() { return backBuffer_; }

private:
    bool StoreEntry(const log_entry& entry);
    bool NewestLineInView() const;
    i32 LastTop() const;
    void UpdateScrollBar();
    void ScrollTo(i32 top);
    void ShowContextMenu();
    void DrawRows(HDC dc);

    LogViewItemTable itemTable_;
    ILogItemTable* table_;
    i32 top_ = 0;
    i32 lineHeight_ = 12;
    std::unique_ptr<Font> font_;
    dib backBuffer_;
    RefreshPacer newLines_;
};

}  // namespace tevrin
