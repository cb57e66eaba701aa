/* Resource ids shared by pdclean.rc and the code. */
#ifndef PDCLEAN_RESOURCE_H
#define PDCLEAN_RESOURCE_H

/* Dialogs */
#define IDD_MAIN 103

/* Controls (IDOK, the Close button, is the platform's own 1) */
#define IDC_EXECUTE 1012
#define IDC_RESULT_LIST 1071
#define IDC_OS_LABEL 1073

/* Icons */
#define IDI_MAIN 115

/* Strings */
#define IDS_TITLE 1
#define IDS_DONE 4
#define IDS_DONE_REBOOT 5
#define IDS_PARTIAL_ERROR 8

#endif
