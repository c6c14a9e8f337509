// Resource ids of the "Substitute Drive" dialog, shared by its template and
// its code.
#pragma once

#define IDD_SUBST_DIALOG 200
#define IDC_SUBST_TITLE 201
#define IDC_SUBST_LETTER_LABEL 202
#define IDC_SUBST_LETTER 203
#define IDC_SUBST_PATH_LABEL 204
#define IDC_SUBST_PATH 205
#define IDC_SUBST_BROWSE 206
#define IDC_SUBST_ADD_TO_STARTUP 207
