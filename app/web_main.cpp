// The page's start-up: the window and its load handler, then the focus in its
// first box. The browser's event loop runs the rest; main returns and the
// program stays.
#include "web/form1_page.h"

int main() { zorvik::web::Form1Page::Instance().Show(); }
