// Resource and control ids. The program addresses every control by these
// numbers, and the dialog tables in res/dialogs.cpp place them; keep the
// values stable, the message handlers and data exchange depend on them.
#pragma once

inline constexpr int IDM_ABOUTBOX = 0x0010;
inline constexpr int IDM_SIGNALHISTORY = 0x0020;
inline constexpr int IDM_SWEEP = 0x0030;
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_QUORVEXDEMO_DIALOG = 102;
inline constexpr int IDP_SOCKETS_INIT_FAILED = 103;
inline constexpr int IDR_MAINFRAME = 128;

inline constexpr int IDC_STATIC_FREQ = 1004;
inline constexpr int IDC_EDIT_FREQ = 1001;
inline constexpr int IDC_STATIC_SYMRATE = 1003;
inline constexpr int IDC_EDIT_SYMRATE = 1002;
inline constexpr int IDC_STATIC_POL = 1008;
inline constexpr int IDC_LIST_POL = 1006;
inline constexpr int IDC_STATIC_FEC = 1009;
inline constexpr int IDC_LIST_FEC = 1007;
inline constexpr int IDC_STATIC_INVERSION = 1058;
inline constexpr int IDC_LIST_INVERSION = 1057;
inline constexpr int IDC_STATIC_MODULATION = 1011;
inline constexpr int IDC_LIST_MODULATION = 1010;
inline constexpr int IDC_STATIC_PILOT = 1059;
inline constexpr int IDC_LIST_PILOT = 1060;
inline constexpr int IDC_STATIC_ROLLOFF = 1062;
inline constexpr int IDC_LIST_ROLLOFF = 1061;
inline constexpr int IDC_STATIC_MIS = 1066;
inline constexpr int IDC_LIST_MIS = 1065;
inline constexpr int IDC_BTN_TUNE = 1012;

inline constexpr int IDC_FRAME_SIGNAL = 1022;
inline constexpr int IDC_CHK_PRESENT = 1020;
inline constexpr int IDC_CHK_LOCK = 1021;
inline constexpr int IDC_STATIC_LEVEL = 1015;
inline constexpr int IDC_STATIC_QUALITY = 1014;
inline constexpr int IDC_STATIC_SNR = 1016;
inline constexpr int IDC_STATIC_BER = 1017;
inline constexpr int IDC_STATIC_RFLEVEL = 1069;

inline constexpr int IDC_STATIC_LOF_LOW = 1026;
inline constexpr int IDC_EDIT_LOF_LOW = 1023;
inline constexpr int IDC_STATIC_LOF_SWITCH = 1027;
inline constexpr int IDC_EDIT_LOF_SWITCH = 1024;
inline constexpr int IDC_STATIC_LOF_HIGH = 1028;
inline constexpr int IDC_EDIT_LOF_HIGH = 1025;

inline constexpr int IDC_CHK_SIMPLE = 1034;
inline constexpr int IDC_RADIO_BURST_A = 1031;
inline constexpr int IDC_RADIO_BURST_B = 1032;
inline constexpr int IDC_CHK_DISEQC10 = 1035;
inline constexpr int IDC_LIST_DISEQC10 = 1036;
inline constexpr int IDC_CHK_DISEQC11 = 1037;
inline constexpr int IDC_LIST_DISEQC11 = 1038;
inline constexpr int IDC_CHK_DISEQC12 = 1039;
inline constexpr int IDC_LIST_DISEQC12 = 1040;
inline constexpr int IDC_CHK_RECEIVE_REPLY = 1045;
inline constexpr int IDC_BTN_DISEQC_SEND = 1041;

inline constexpr int IDC_CHK_FILTER_ENABLE = 1052;
inline constexpr int IDC_STATIC_PID = 1056;
inline constexpr int IDC_EDIT_PID = 1054;
inline constexpr int IDC_STATIC_FILTER_INFO = 1055;

inline constexpr int IDC_CHK_RC_ENABLE = 1044;
inline constexpr int IDC_LIST_RC_TYPE = 1046;
inline constexpr int IDC_STATIC_RC_DEV = 1050;
inline constexpr int IDC_LIST_RC_DEV = 1049;

inline constexpr int IDC_BTN_EEPROM_READ = 1063;
inline constexpr int IDC_BTN_EEPROM_WRITE = 1064;
inline constexpr int IDC_STATIC_EEPROM_SIZE = 1068;
inline constexpr int IDC_LIST_EEPROM_SIZE = 1067;

inline constexpr int IDC_CHK_LOG_TO_FILE = 1030;
inline constexpr int IDC_LIST_LOG = 1013;
inline constexpr int IDC_STATIC_DEVICE = 1048;
inline constexpr int IDC_CB_DEVICE = 1047;
