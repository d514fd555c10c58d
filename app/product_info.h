#pragma once
// Product information, shared by the version resource and the about text.
#define NIBSCOPE_PRODUCT_TITLE "Tevrin Nibscope"
#define NIBSCOPE_DESCRIPTION "WinTab driver diagnostic tool"
#define NIBSCOPE_COPYRIGHT "Copyright (C) 2026 The Tevrin Nibscope developers"
#define NIBSCOPE_AUTHOR "The Tevrin Nibscope developers"
#define NIBSCOPE_SUPPORT_ADDRESS "support@tevrin.example"
