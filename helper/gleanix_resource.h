// Resource ids of Gleanix.dll.
#pragma once

#define IDS_GLEANIX_TITLE 100
#define IDS_PRODUCT_PAGE 101
#define IDS_LATEST_VERSION_PAGE 102

#define IDD_CONTROL_PANEL 201
#define IDB_BROWSE 202

// Controls of the control panel.
#define IDC_PATH 201
#define IDC_BROWSE 202
#define IDC_ONE_FILE 203
#define IDC_PATH_LABEL 204
#define IDC_TO_MAIN 205
#define IDC_PANEL_HELP 3
#define IDC_LATEST_VERSION 4
