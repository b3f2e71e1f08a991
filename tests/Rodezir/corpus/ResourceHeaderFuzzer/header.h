#ifndef R_H
#define R_H
#define IDD_TRAINEE 30100
#DEFINE IDC_X	1001;
#define IDC_Y (1+2)
#endif
