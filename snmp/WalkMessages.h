#pragma once
// The messages a walk (and a cleaning thread) sends to the grid window, and the
// grid to its query view, with their payloads.
//
//   message          delivery  wParam              lParam
//   WM_WALK_ERROR    posted    0                   error text: char[256], the receiver's
//   WM_WALK_RECORD   posted    CWalkRecord*, the receiver's   0
//   WM_WALK_DONE     sent      0                   0
//   WM_WALK_STOPPED  sent      0                   0
//   WM_CLEAN_DONE    sent      0                   tree item (the tree's)
//   WM_CLEAN_UPDATE  sent      node updates, an array (the sender's, valid during the call)   their count
//   WM_QUERY_ENDED   grid to view, posted or sent, 0, 0
//
// Posted payloads belong to the receiver once posted; the walk posts them with
// FreeWalkPayload so that payloads still queued when the window goes are freed.
// Order: records arrive in walk order. The end message is sent from the walk's
// thread, so it queues behind every record and error text the walk posted and
// is handled after them; only a send on the window's own thread (as tests do)
// can overtake queued posts.
#include "platform/WinTypes.h"
#include <memory>
#include <string>

constexpr UINT WM_WALK_ERROR = 5101;
constexpr UINT WM_WALK_RECORD = 9989;
constexpr UINT WM_WALK_DONE = 9991;
constexpr UINT WM_WALK_STOPPED = 9992;
constexpr UINT WM_CLEAN_DONE = 9888;
constexpr UINT WM_CLEAN_UPDATE = 9999;
constexpr UINT WM_QUERY_ENDED = 7899;

// One returned variable, complete when posted and never changed afterwards.
class CWalkRecord
{
public:
    std::string m_strOid;    // numeric OID text of the name, ".1.3.6.1.2.1.1.1.0"
    std::string m_strName;   // the manager interface's name text, "system.sysDescr.0"
    std::string m_strType;   // type name, "INTEGER" ... "Unknown"
    std::string m_strValue;  // value text; empty for types without one
    // The value as net-snmp's tools print it (snmp/SnmpwalkText.h), which the
    // value text cannot give back (centiseconds, bytes after a NUL). Empty
    // unless the walk's request asked for it (m_bSnmpwalkValues).
    std::string m_strSnmpwalkValue;
};

// A new error text for WM_WALK_ERROR: new char[256] holding strText, cut to
// 255 characters (keeping a final line end). Released with delete[].
char* NewWalkErrorText(const std::string& strText);

// The PayloadFree of the walk's posts: deletes the record of WM_WALK_RECORD or
// the text of WM_WALK_ERROR; other messages carry nothing to free.
void FreeWalkPayload(UINT message, WPARAM wParam, LPARAM lParam);

// Receiver side: take over the payload of a delivered message (null stays null).
std::unique_ptr<CWalkRecord> TakeWalkRecord(WPARAM wParam);
std::unique_ptr<char[]> TakeWalkErrorText(LPARAM lParam);
