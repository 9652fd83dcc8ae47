#!/usr/bin/env python3
"""Writes the default event notification settings that a new policy starts
with (resource "XML" 1009 of the plug-in) as its XML envelope.

Run once when the defaults change:
    scripts/generate-notification-defaults.py > src/plugin/resources/notification-defaults.xml

The document is a policy-form container: every setting is a pair
{"ZRPRSS_Mnd": lock, "ZRPRSS_Val": value}. The agent's events are grouped by
severity (INF, WRN, ERR; CRT stays empty); each event carries how long it is
kept, where it is stored (all off) and which delivery channels exist for it
(all off).
"""
import base64
import struct
import sys

EMAIL_NETSEND_SCRIPT = ["EMAIL", "NET_SEND", "SCRIPT"]
EMAIL_SCRIPT_SMS_SNMP = ["EMAIL", "SCRIPT", "SMS", "SNMP"]
ALL_CHANNELS = ["EMAIL", "NET_SEND", "SCRIPT", "SMS", "SNMP", "SYSLOG"]
WITHOUT_SMS = ["EMAIL", "NET_SEND", "SCRIPT", "SNMP"]

# (group, event id, days to store, delivery channels), in document order
EVENTS = [
    ("ERR", "ZRNAG_EV_PATCH_INSTALL_ERROR", 30, EMAIL_NETSEND_SCRIPT),
    ("ERR", "ZRNAG_EV_3P_PATCH_INSTALL_ERROR", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("ERR", "ZRNAG_EV_WUA_INSTALL_ERROR", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "ZRNAG_EV_PATCH_INSTALLED_SUCCESSFULLY", 30, EMAIL_NETSEND_SCRIPT),
    ("INF", "ZRNAG_EV_PATCH_INSTALL_STARTING", 30, EMAIL_NETSEND_SCRIPT),
    ("INF", "ZRNAG_EV_INV_APP_UNINSTALLED", 0, ALL_CHANNELS),
    ("INF", "ZRNAG_EV_INV_APP_INSTALLED", 0, ALL_CHANNELS),
    ("INF", "ZRNAG_EV_INV_OBS_APP_INSTALLED", 30, WITHOUT_SMS),
    ("INF", "ZRNAG_EV_INV_OBS_APP_UNINSTALLED", 30, WITHOUT_SMS),
    ("INF", "ZRNAG_EV_INV_CMPTR_APP_INSTALLED", 30, WITHOUT_SMS),
    ("INF", "ZRNAG_EV_DEVICE_ARRIVAL", 30, WITHOUT_SMS),
    ("INF", "ZRNAG_EV_DEVICE_REMOVE", 30, WITHOUT_SMS),
    ("INF", "ZRNAG_EV_NAC_DEVICE_DISCOVERED", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "ZRNAG_EV_NAC_HOST_AUTHORIZED", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "ZRUSRLOG_EV_FILE_READ", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "ZRUSRLOG_EV_FILE_MODIFIED", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "ZRUSRLOG_EV_PROCESS_LAUNCHED", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "ZRNAG_EV_3P_PATCH_INSTALLED_SUCCESSFULLY", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "ZRNAG_EV_3P_PATCH_INSTALL_STARTING", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "ZRUSRLOG_EV_WDS_BEGIN", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "ZRUSRLOG_EV_WDS_END", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "VTNPROXY_STARTED_CON_CHK_OK", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("INF", "VTNPROXY_STOPPED", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("WRN", "ZRNAG_EV_PATCH_INSTALL_WARNING", 30, ["EMAIL", "NET_SEND", "SCRIPT", "SMS", "SNMP"]),
    ("WRN", "ZRNAG_EV_3P_PATCH_INSTALL_WARNING", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("WRN", "ZRNAG_EV_3P_PATCH_INSTALL_SLIPPED", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("WRN", "GNRL_EV_APP_INCIDENT_OCCURED", 30, EMAIL_SCRIPT_SMS_SNMP),
    ("WRN", "VTNPROXY_STARTED_CON_CHK_FAILED", 30, EMAIL_SCRIPT_SMS_SNMP),
]
LOCKED_GROUPS = {"ERR", "INF", "WRN"}
DESCRIPTION_ID = "8d4224f7-2a52-4080-bbee-02dbf98396e0"

# Values of the packed form: (type byte, payload bytes)
def text(s):
    units = s.encode("utf-16-le")
    return struct.pack("<I", len(units) // 2) + units

def string(s):
    return (0x02, text(s))

def boolean(b):
    return (0x03, bytes([1 if b else 0]))

def integer(i):
    return (0x04, struct.pack("<i", i))

def container(entries):
    body = struct.pack("<I", len(entries))
    for name, (type_byte, payload) in entries:
        body += text(name) + bytes([type_byte]) + payload
    return (0x0B, body)

def array(items):
    body = struct.pack("<I", len(items))
    for type_byte, payload in items:
        body += bytes([type_byte]) + payload
    return (0x0C, body)

def pair(value, locked=False):
    return container([("ZRPRSS_Mnd", boolean(locked)), ("ZRPRSS_Val", value)])

def event_settings(event_id, days, channels):
    entries = [
        ("ZREVP_ND_DAYS_TO_STORE_EVENT", pair(integer(days))),
        ("ZREVP_ND_EVETN_TYPE", pair(string(event_id))),
        ("ZREVP_ND_STORE_AT_CLIENT_LOG", pair(boolean(False))),
        ("ZREVP_ND_STORE_AT_CLIENT_PRES", pair(boolean(False))),
        ("ZREVP_ND_STORE_AT_SERVER_LOG", pair(boolean(False))),
    ]
    entries += [("ZREVP_ND_USE_" + channel, pair(boolean(False))) for channel in channels]
    return pair(container(entries))

def document():
    groups = {name: [] for name in ("CRT", "ERR", "INF", "WRN")}
    for group, event_id, days, channels in EVENTS:
        groups[group].append(event_settings(event_id, days, channels))
    settings = [(name, pair(array(items), name in LOCKED_GROUPS)) for name, items in groups.items()]
    settings.append(("ZREVP_NOTIFICATION_DESCR_ID", pair(string(DESCRIPTION_ID))))
    root_type, root = pair(container([("ZRPRSS_EVPNotifications", pair(container(settings)))]))
    assert root_type == 0x0B
    return b"<!--ZRPARBIN -->" + struct.pack("<III", 28, 1, 1) + root

def envelope(packed):
    encoded = base64.b64encode(packed).decode("ascii")
    lines = "".join(encoded[i:i + 76] + "\r\n" for i in range(0, len(encoded), 76))
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\r\n'
        '<root xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" '
        'xmlns:xsd="http://www.w3.org/2001/XMLSchema" xsi:type="param:params">\r\n'
        "<checksum>0</checksum>\r\n"
        '<binfmt xsi:type="xsd:base64Binary">\r\n' + lines + "</binfmt>\r\n</root>\r\n"
    )

if __name__ == "__main__":
    packed = document()
    sys.stdout.write(envelope(packed))
    print(f"packed document: {len(packed)} bytes", file=sys.stderr)
