// Which of the three language sets answers the program's resource requests.
#pragma once

// Leaves the choice to the platform's resource loader for Korean, Japanese and Chinese users, and
// gives every other user the Korean set, this edition's own. Call before the first dialog.
void ChooseLanguageSet();
