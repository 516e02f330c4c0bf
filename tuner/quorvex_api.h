// The tuner library's binary contract: every entry point the program knows,
// the callbacks it hands over, and the calling conventions on each platform.
// The virtual card includes this same header, so a signature mismatch between
// the program and the simulator is a compile error.
#ifndef QUORVEX_TUNER_QUORVEX_API_H
#define QUORVEX_TUNER_QUORVEX_API_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define QV_API __cdecl
#define QV_CALLBACK __stdcall
#else
#define QV_API
#define QV_CALLBACK
#endif

/* A library that names its exports in a module-definition file defines
   QV_EXPORT empty itself. */
#ifndef QV_EXPORT
#if defined(_WIN32)
#define QV_EXPORT __declspec(dllexport)
#else
#define QV_EXPORT __attribute__((visibility("default")))
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Capability bits reported by GetCaps(). */
#define QV_CAP_REMOTE_CONTROL 0x0002u
#define QV_CAP_MAC 0x0004u
#define QV_CAP_EXT_STATISTICS 0x0008u
#define QV_CAP_TONE_BURST 0x0010u
#define QV_CAP_DISEQC10 0x0020u
#define QV_CAP_DISEQC1X 0x0040u
#define QV_CAP_DISEQC2X 0x0080u
#define QV_CAP_MIS 0x0800u
#define QV_CAP_EEPROM 0x1000u

/* Record filled by Statistic(): lock, quality %, presence, level %. */
typedef struct QvStatistic {
  int32_t lock;
  int32_t quality;
  int32_t present;
  int32_t level;
} QvStatistic;

/* Called once per device during CheckForDVBEx, on the calling thread. */
typedef void(QV_CALLBACK* QvDeviceEnumCallback)(uint32_t deviceId, const char* name);
/* Called once per device during CheckForDVBExEx, with the tuner type code. */
typedef void(QV_CALLBACK* QvDeviceEnumCallbackEx)(uint32_t deviceId, const char* name,
                                                  uint32_t tunerType);
/* Delivers captured transport stream bytes, on a library thread. */
typedef void(QV_CALLBACK* QvTsDataCallback)(const uint8_t* data, uint32_t length);
/* Delivers one remote-control code, on a library thread; the second argument is
   a byte count (RAW) or a code kind (RC5/RC6). */
typedef void(QV_CALLBACK* QvRcCallback)(const void* code, uint32_t countOrKind);

/* Entry point signatures, in lookup order. Results are nonzero on success. */
typedef int32_t(QV_API* PFN_CheckForDVB)(void);
typedef int32_t(QV_API* PFN_CheckForDVBEx)(QvDeviceEnumCallback callback);
typedef int32_t(QV_API* PFN_CheckForDVBExEx)(QvDeviceEnumCallbackEx callback);
typedef int32_t(QV_API* PFN_StartDVB)(void);
typedef int32_t(QV_API* PFN_StartDVBEx)(uint32_t deviceId);
typedef int32_t(QV_API* PFN_StopDVB)(void);
typedef int32_t(QV_API* PFN_GetTunerType)(uint32_t* tunerType);
typedef int32_t(QV_API* PFN_SendDiSEqC)(uint32_t mode, uint32_t data);
typedef int32_t(QV_API* PFN_SendDiseqCmd)(uint8_t* message, uint32_t length);
/* The reply buffer holds 8 bytes; the library stores the reply length. */
typedef int32_t(QV_API* PFN_SendDiseqCmdEx)(uint8_t* message, uint32_t length, uint8_t* reply,
                                            uint32_t* replyCount);
typedef int32_t(QV_API* PFN_SetChannel)(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                        uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                        uint32_t lofSwitchKHz);
typedef int32_t(QV_API* PFN_SetChannelEx)(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                          uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                          uint32_t lofSwitchKHz, uint32_t modulation);
typedef int32_t(QV_API* PFN_SetChannelExEx)(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                            uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                            uint32_t lofSwitchKHz, uint32_t modulation,
                                            uint32_t inversion, uint32_t pilot, uint32_t rollOff);
typedef int32_t(QV_API* PFN_SetFilter)(uint32_t pid, QvTsDataCallback callback, uint32_t mode,
                                       uint32_t flags, int32_t* filter);
typedef int32_t(QV_API* PFN_SetRemoteControl)(uint32_t type, uint32_t deviceFilter,
                                              QvRcCallback callback, int32_t* filter);
typedef int32_t(QV_API* PFN_DelFilter)(int32_t filter);
typedef int32_t(QV_API* PFN_GetSignal)(int32_t* level, int32_t* quality);
typedef int32_t(QV_API* PFN_GetSignalStrength)(float* level, int32_t* quality);
typedef int32_t(QV_API* PFN_GetSignalEx)(float* snr, float* ber);
typedef int32_t(QV_API* PFN_GetSignalExEx)(uint32_t* reserved, int32_t* lock, int32_t* rfLevel,
                                           float* snr, float* ber);
typedef int32_t(QV_API* PFN_Statistic)(QvStatistic* statistic);
typedef int32_t(QV_API* PFN_GetMAC)(uint8_t* mac);
typedef int32_t(QV_API* PFN_GetEEPROM)(uint8_t* buffer, uint32_t offset, uint32_t size);
typedef int32_t(QV_API* PFN_SetEEPROM)(uint8_t* buffer, uint32_t offset, uint32_t size);
typedef uint32_t(QV_API* PFN_GetCaps)(void);
typedef int32_t(QV_API* PFN_MISSel)(uint32_t enable, uint32_t streamId, uint32_t mask);
/* Looked up and kept, never called by the program: their arguments are the
   library's own business. */
typedef int32_t(QV_API* PFN_Unused)(void);

#ifdef __cplusplus
}
#endif

/* The 42 names in lookup order, with their slot type; X(name, type, critical). */
#define QV_ENTRY_POINTS(X)                       \
  X(CheckForDVB, PFN_CheckForDVB, 1)             \
  X(CheckForDVBEx, PFN_CheckForDVBEx, 0)         \
  X(CheckForDVBExEx, PFN_CheckForDVBExEx, 0)     \
  X(StartDVB, PFN_StartDVB, 1)                   \
  X(StartDVBEx, PFN_StartDVBEx, 0)               \
  X(StopDVB, PFN_StopDVB, 1)                     \
  X(GetTunerType, PFN_GetTunerType, 0)           \
  X(SendDiSEqC, PFN_SendDiSEqC, 0)               \
  X(SendDiseqCmd, PFN_SendDiseqCmd, 0)           \
  X(SendDiseqCmdEx, PFN_SendDiseqCmdEx, 0)       \
  X(SetChannel, PFN_SetChannel, 1)               \
  X(SetChannelEx, PFN_SetChannelEx, 0)           \
  X(SetChannelExEx, PFN_SetChannelExEx, 0)       \
  X(SetFilter, PFN_SetFilter, 1)                 \
  X(SetFilterEx, PFN_Unused, 0)                  \
  X(SetBitFilter, PFN_Unused, 0)                 \
  X(SetBBFilter, PFN_Unused, 0)                  \
  X(SetRemoteControl, PFN_SetRemoteControl, 0)   \
  X(DelFilter, PFN_DelFilter, 1)                 \
  X(GetSignal, PFN_GetSignal, 0)                 \
  X(GetSignalStrength, PFN_GetSignalStrength, 0) \
  X(GetSignalEx, PFN_GetSignalEx, 0)             \
  X(GetSignalExEx, PFN_GetSignalExEx, 0)         \
  X(Statistic, PFN_Statistic, 0)                 \
  X(GetMAC, PFN_GetMAC, 0)                       \
  X(GetEEPROM, PFN_GetEEPROM, 0)                 \
  X(SetEEPROM, PFN_SetEEPROM, 0)                 \
  X(GetCaps, PFN_GetCaps, 0)                     \
  X(MISSel, PFN_MISSel, 0)                       \
  X(RFScan, PFN_Unused, 0)                       \
  X(BLScan, PFN_Unused, 0)                       \
  X(BLScanEx, PFN_Unused, 0)                     \
  X(IQScan, PFN_Unused, 0)                       \
  X(RFScan2, PFN_Unused, 0)                      \
  X(BLScan2, PFN_Unused, 0)                      \
  X(SignalInfo, PFN_Unused, 0)                   \
  X(SignalInfo2, PFN_Unused, 0)                  \
  X(SetChannel2, PFN_Unused, 0)                  \
  X(SetChannel2Ex, PFN_Unused, 0)                \
  X(PLSSel, PFN_Unused, 0)                       \
  X(IQScan2, PFN_Unused, 0)                      \
  X(IQScan2Range, PFN_Unused, 0)

/* Prototypes of the exports, for a library built against this contract (the
   program itself binds by name and never links to them). */
#if defined(QUORVEX_LIBRARY_BUILD)
#ifdef __cplusplus
extern "C" {
#endif
QV_EXPORT int32_t QV_API CheckForDVB(void);
QV_EXPORT int32_t QV_API CheckForDVBEx(QvDeviceEnumCallback callback);
QV_EXPORT int32_t QV_API CheckForDVBExEx(QvDeviceEnumCallbackEx callback);
QV_EXPORT int32_t QV_API StartDVB(void);
QV_EXPORT int32_t QV_API StartDVBEx(uint32_t deviceId);
QV_EXPORT int32_t QV_API StopDVB(void);
QV_EXPORT int32_t QV_API GetTunerType(uint32_t* tunerType);
QV_EXPORT int32_t QV_API SendDiSEqC(uint32_t mode, uint32_t data);
QV_EXPORT int32_t QV_API SendDiseqCmd(uint8_t* message, uint32_t length);
QV_EXPORT int32_t QV_API SendDiseqCmdEx(uint8_t* message, uint32_t length, uint8_t* reply,
                                        uint32_t* replyCount);
QV_EXPORT int32_t QV_API SetChannel(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                    uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                    uint32_t lofSwitchKHz);
QV_EXPORT int32_t QV_API SetChannelEx(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                      uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                      uint32_t lofSwitchKHz, uint32_t modulation);
QV_EXPORT int32_t QV_API SetChannelExEx(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                        uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                        uint32_t lofSwitchKHz, uint32_t modulation,
                                        uint32_t inversion, uint32_t pilot, uint32_t rollOff);
QV_EXPORT int32_t QV_API SetFilter(uint32_t pid, QvTsDataCallback callback, uint32_t mode,
                                   uint32_t flags, int32_t* filter);
QV_EXPORT int32_t QV_API SetFilterEx(void);
QV_EXPORT int32_t QV_API SetBitFilter(void);
QV_EXPORT int32_t QV_API SetBBFilter(void);
QV_EXPORT int32_t QV_API SetRemoteControl(uint32_t type, uint32_t deviceFilter,
                                          QvRcCallback callback, int32_t* filter);
QV_EXPORT int32_t QV_API DelFilter(int32_t filter);
QV_EXPORT int32_t QV_API GetSignal(int32_t* level, int32_t* quality);
QV_EXPORT int32_t QV_API GetSignalStrength(float* level, int32_t* quality);
QV_EXPORT int32_t QV_API GetSignalEx(float* snr, float* ber);
QV_EXPORT int32_t QV_API GetSignalExEx(uint32_t* reserved, int32_t* lock, int32_t* rfLevel,
                                       float* snr, float* ber);
QV_EXPORT int32_t QV_API Statistic(QvStatistic* statistic);
QV_EXPORT int32_t QV_API GetMAC(uint8_t* mac);
QV_EXPORT int32_t QV_API GetEEPROM(uint8_t* buffer, uint32_t offset, uint32_t size);
QV_EXPORT int32_t QV_API SetEEPROM(uint8_t* buffer, uint32_t offset, uint32_t size);
QV_EXPORT uint32_t QV_API GetCaps(void);
QV_EXPORT int32_t QV_API MISSel(uint32_t enable, uint32_t streamId, uint32_t mask);
QV_EXPORT int32_t QV_API RFScan(void);
QV_EXPORT int32_t QV_API BLScan(void);
QV_EXPORT int32_t QV_API BLScanEx(void);
QV_EXPORT int32_t QV_API IQScan(void);
QV_EXPORT int32_t QV_API RFScan2(void);
QV_EXPORT int32_t QV_API BLScan2(void);
QV_EXPORT int32_t QV_API SignalInfo(void);
QV_EXPORT int32_t QV_API SignalInfo2(void);
QV_EXPORT int32_t QV_API SetChannel2(void);
QV_EXPORT int32_t QV_API SetChannel2Ex(void);
QV_EXPORT int32_t QV_API PLSSel(void);
QV_EXPORT int32_t QV_API IQScan2(void);
QV_EXPORT int32_t QV_API IQScan2Range(void);
#ifdef __cplusplus
}
#endif
/* Each export's type equals its slot type: checked at compile time. */
#ifdef __cplusplus
#define QV_CHECK_EXPORT(name, type, critical) \
  static_assert(__is_same(decltype(&::name), type), #name " does not match its slot type");
QV_ENTRY_POINTS(QV_CHECK_EXPORT)
#undef QV_CHECK_EXPORT
#endif
#endif

#endif
