#pragma once

// QScintilla's accessible text tells assistive tools where the caret is by counting every
// character before it, at each caret move and each insertion: seconds at the end of a hundred
// megabytes. While no assistive tool listens, its editors get a plain accessible widget instead.
// Called after the first editor exists, so that this factory is asked before QScintilla's.
void UsePlainEditorAccessibilityWhileInactive();
