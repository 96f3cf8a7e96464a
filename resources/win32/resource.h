// Resource identifiers of the Windows program, shared by the resource script and the code.
// Only preprocessor definitions here: the resource compiler reads this file too. The menu
// commands are not among them: the script is written with the numbers of the shared
// command table.
#pragma once

#define IDR_MAIN_MENU 101
#define IDR_ACCELERATORS 103
#define IDI_PROGRAM 106
#define IDD_ABOUT 130
#define IDC_HAND_CURSOR 131
