// Builds "probe_layout.xml" from disk with no skin loaded and prints the root's class
// ("missing" when no layout was found), so a test can start it from unusual places.
#include <windows.h>
#include <cstdio>
#include <memory>
#include "duilib/UIBuilder.h"
#include "duilib/UIControl.h"

int wmain() {
    DuiLib::CDialogBuilder builder;
    std::unique_ptr<DuiLib::CControlUI> root(builder.Create(L"probe_layout.xml"));
    std::printf("%ls\n", root ? root->GetClass() : L"missing");
    return root ? 0 : 1;
}
