// Resource identifiers of the Windows program, shared by the resource script and the code.
// Only preprocessor definitions here: the resource compiler reads this file too.
#pragma once

#define IDR_MAIN_MENU 101
#define IDR_ACCELERATORS 103
#define IDI_PROGRAM 106
#define IDD_ABOUT 130
#define IDC_HAND_CURSOR 131

// Menu commands; the code checks these against the shared command table.
#define IDM_EXIT 40002
#define IDM_FIELD_2 40003
#define IDM_FIELD_3 40004
#define IDM_FIELD_4 40005
#define IDM_FIELD_5 40006
#define IDM_FIELD_RANDOM 40007
#define IDM_HELP_CONTENTS 40010
#define IDM_HELP_SEARCH 40011
#define IDM_HELP_INDEX 40012
#define IDM_ABOUT 40013
#define IDM_ADD_FROM_NONE 40014
#define IDM_ADD_FROM_SOME 40015
#define IDM_REMOVE_FROM_FULL 40016
#define IDM_REMOVE_FROM_SOME 40017
#define IDM_MOVE_FROM_SOME 40018
#define IDM_MIXED 40019
