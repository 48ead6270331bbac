// What the stand-in server DLL offers its test runner besides COM: scripting
// of the documents, sheets, preferences and faults behind it, and its journal
// of every member call with the variant types it received. The runner loads
// these by name from the DLL that COM loaded, so both see one state.
#pragma once

#include <cstdint>

// {7D2E5A10-4C1B-4E8A-9F3D-2B6C8A1E5F07}: the stand-in's class, registered
// under the ProgID SldWorks.Application in the test prefix.
#define KUP_STANDIN_CLSID_TEXT "{7D2E5A10-4C1B-4E8A-9F3D-2B6C8A1E5F07}"

extern "C" {
// Back to no document, standard preferences, no faults, empty journal.
typedef void (*StandIn_Reset_t)();
// A document of the given type (3 = drawing) becomes the active one.
typedef void (*StandIn_OpenDocument_t)(int32_t type, const char* title);
typedef void (*StandIn_AddSheet_t)(const char* name, int32_t paperSizeCode, int32_t templateCode,
                                   double scaleNumerator, double scaleDenominator);
// kind: 'i' integer, 't' toggle, 'd' double.
typedef void (*StandIn_SetPreference_t)(char kind, int32_t number, double value);
typedef double (*StandIn_Preference_t)(char kind, int32_t number);
// kind: 'r' refuse (the member answers its failure value), 't' throw (an
// automation error with a description). argument null: every call; nth 0: every match.
typedef void (*StandIn_Fault_t)(const char* member, const char* argument, char kind, int nth);
// Lines "Member(VT_I4 10, VT_I2 12)", "Visible=VT_BOOL -1", "ActivateSheet(VT_BYREF|VT_BSTR Blatt1)".
// Copies at most capacity bytes and answers the length of the whole journal.
typedef int (*StandIn_Journal_t)(char* text, int capacity);
// Application objects made by the class factory, and objects of any kind alive now.
typedef int (*StandIn_Created_t)();
typedef int (*StandIn_Living_t)();
// An application object entered as the running instance, and its removal.
typedef int (*StandIn_RegisterRunning_t)();
typedef void (*StandIn_RevokeRunning_t)();
}
