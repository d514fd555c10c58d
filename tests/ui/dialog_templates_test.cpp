// Controls built from a dialog resource of this test program (dialog_templates.rc).
#include "test_window.h"
#include "tevrin/ui/window_list.h"

#include <gtest/gtest.h>

#include <cwchar>

using ui_test::TestWindow;

namespace {

const tevrin::u16 templateId = 300;

struct ChildFacts {
    std::wstring className;
    std::wstring text;
    RECT place;
    LONG_PTR style;
};

ChildFacts FactsOf(HWND parent, int id)
{
    HWND child = GetDlgItem(parent, id);
    ChildFacts facts{};
    if (!child)
        return facts;
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    facts.className = name;
    wchar_t text[64] = {};
    GetWindowTextW(child, text, 64);
    facts.text = text;
    GetWindowRect(child, &facts.place);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&facts.place), 2);
    facts.style = GetWindowLongPtrW(child, GWL_STYLE);
    return facts;
}

// The template laid out by the platform, for comparison.
class ReferenceDialog {
public:
    ReferenceDialog()
        : handle(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr, nullptr, 0))
    {
    }
    ~ReferenceDialog() { DestroyWindow(handle); }
    HWND handle;
};

class DialogTemplates : public testing::Test {
protected:
    void SetUp() override
    {
        window = new TestWindow(TestWindow::kindMainFrame);
        window->Create(500, 400);
    }
    void TearDown() override
    {
        delete window;
        EXPECT_TRUE(tevrin::WindowList().empty());
    }
    TestWindow* window = nullptr;
};

}  // namespace

TEST_F(DialogTemplates, CloneMakesLikeChildrenInTheWindow)
{
    ReferenceDialog reference;
    ASSERT_NE(reference.handle, nullptr);
    window->CloneDialogControls(templateId);

    for (int id : {310, 311, 312, 313}) {
        const ChildFacts expected = FactsOf(reference.handle, id);
        const ChildFacts made = FactsOf(window->GetHandle(), id);
        EXPECT_EQ(_wcsicmp(made.className.c_str(), expected.className.c_str()), 0) << id;
        EXPECT_EQ(made.text, expected.text) << id;
        EXPECT_EQ(made.place.left, expected.place.left) << id;
        EXPECT_EQ(made.place.top, expected.place.top) << id;
        EXPECT_EQ(made.place.right, expected.place.right) << id;
        // A combo box sets its own height from its font, which the dialog's differs from.
        if (id != 312) {
            EXPECT_EQ(made.place.bottom, expected.place.bottom) << id;
        }
    }
    EXPECT_EQ(FactsOf(window->GetHandle(), 313).text, L"Apply");
}

TEST_F(DialogTemplates, AdoptMovesChildrenAndReplacesComboBoxes)
{
    ReferenceDialog reference;
    window->AdoptDialogControls(templateId);

    const ChildFacts combo = FactsOf(window->GetHandle(), 312);
    EXPECT_EQ(_wcsicmp(combo.className.c_str(), L"ComboBox"), 0);
    EXPECT_EQ(combo.style & 3, CBS_DROPDOWNLIST);

    const ChildFacts button = FactsOf(window->GetHandle(), 313);
    EXPECT_EQ(button.text, L"Apply");
    const ChildFacts expected = FactsOf(reference.handle, 313);
    EXPECT_TRUE(EqualRect(&button.place, &expected.place));
    EXPECT_EQ(FactsOf(window->GetHandle(), 310).text, L"Name:");
    EXPECT_NE(GetDlgItem(window->GetHandle(), 311), nullptr);

    // Taken over last child first, each moved child landing on top: the moved ones
    // keep the template's order.
    EXPECT_EQ(GetWindow(window->GetHandle(), GW_CHILD), GetDlgItem(window->GetHandle(), 310));
    EXPECT_EQ(GetWindow(GetDlgItem(window->GetHandle(), 310), GW_HWNDNEXT), GetDlgItem(window->GetHandle(), 311));
}
