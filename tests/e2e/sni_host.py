#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A stand-in for a desktop's StatusNotifierItem host on a private session bus.

  sni_host.py watch <file>            owns org.kde.StatusNotifierWatcher, reports a
                                      registered host and writes each item that
                                      registers (its bus name) as a line of <file>
  sni_host.py activate <item> <n> <ms> sends n activations, ms apart
  sni_host.py menu <item>             prints the labels of the item's exported menu
  sni_host.py pixmaps <item>          prints each icon pixmap the item sends, as
                                      WxH and its count of opaque pixels
  sni_host.py click <item> <label> [<submenu>]
                                      clicks the exported menu entry with that label
                                      (in the submenu with that label)
  sni_host.py entries <item> <submenu> prints the submenu's entries as a host shows
                                      them: "<ticked 0|1> <enabled 0|1> <label>"

Every look at the menu first tells the item it is about to be shown (AboutToShow),
as a host does when the user opens it, and the same for a submenu.
"""
import sys
import time

import dbus
import dbus.service

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
PROPS = "org.freedesktop.DBus.Properties"

# Qt reads the host property through an introspected interface, so it must be listed.
INTROSPECTION = f"""<node>
 <interface name="{WATCHER}">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
 <interface name="{PROPS}">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/>
   <arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{{sv}}" direction="out"/></method>
 </interface>
 <interface name="org.freedesktop.DBus.Introspectable">
  <method name="Introspect"><arg type="s" direction="out"/></method>
 </interface>
</node>"""


class Watcher(dbus.service.Object):
    def __init__(self, bus, record):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.record = record
        self.items = []

    @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
    def Introspect(self):
        return INTROSPECTION

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names either its bus name or its object path.
        name = sender if service.startswith("/") else service
        self.items.append(name)
        with open(self.record, "a") as out:
            out.write(name + "\n")
        self.StatusNotifierItemRegistered(name)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(True),
            "ProtocolVersion": dbus.Int32(0),
        }

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]


def watch(record):
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    # Both stay referenced while the loop runs: a released name would end the watcher.
    watcher = Watcher(bus, record)
    name = dbus.service.BusName(WATCHER, bus)
    GLib.MainLoop().run()
    return watcher, name


def item_proxy(bus, item, path="/StatusNotifierItem"):
    return bus.get_object(item, path, introspect=False)


def menu_of(bus, item, submenu=None):
    path = item_proxy(bus, item).Get(ITEM, "Menu", dbus_interface=PROPS)
    menu = item_proxy(bus, item, path)
    parent = 0
    menu.AboutToShow(parent, dbus_interface=MENU)
    _, layout = menu.GetLayout(parent, -1, dbus.Array([], signature="s"), dbus_interface=MENU)
    if submenu is not None:
        found = [child for child in layout[2] if str(child[1].get("label", "")) == submenu
                 and child[1].get("children-display", "") == "submenu"]
        if not found:
            raise LookupError(f"no submenu labelled {submenu!r}")
        parent = int(found[0][0])
        menu.AboutToShow(parent, dbus_interface=MENU)
        _, layout = menu.GetLayout(parent, -1, dbus.Array([], signature="s"),
                                   dbus_interface=MENU)
    entries = []
    for child in layout[2]:
        entry_id, properties = int(child[0]), child[1]
        if properties.get("type", "standard") != "separator" and properties.get("visible", True):
            entries.append((entry_id, str(properties.get("label", "")),
                            int(properties.get("toggle-state", 0)),
                            bool(properties.get("enabled", True))))
    return menu, entries


def main(argv):
    command = argv[1]
    if command == "watch":
        watch(argv[2])
        return 0
    bus = dbus.SessionBus()
    item = argv[2]
    if command == "activate":
        for index in range(int(argv[3])):
            if index:
                time.sleep(int(argv[4]) / 1000)
            item_proxy(bus, item).Activate(10, 10, dbus_interface=ITEM)
    elif command == "menu":
        for _, label, _, _ in menu_of(bus, item)[1]:
            print(label)
    elif command == "entries":
        for _, label, ticked, enabled in menu_of(bus, item, argv[3])[1]:
            print(f"{1 if ticked == 1 else 0} {int(enabled)} {label}")
    elif command == "pixmaps":
        pixmaps = item_proxy(bus, item).Get(ITEM, "IconPixmap", dbus_interface=PROPS)
        for width, height, data in pixmaps:
            argb = bytes(data)  # ARGB32 in network byte order: alpha first
            if len(argb) != width * height * 4:
                print(f"{width}x{height} holds {len(argb)} bytes", file=sys.stderr)
                return 1
            print(f"{width}x{height} {sum(1 for alpha in argb[::4] if alpha == 255)}")
    elif command == "click":
        menu, entries = menu_of(bus, item, argv[4] if len(argv) > 4 else None)
        ids = [entry_id for entry_id, label, _, _ in entries if label == argv[3]]
        if not ids:
            print(f"no menu entry labelled {argv[3]!r}", file=sys.stderr)
            return 1
        menu.Event(ids[0], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0),
                   dbus_interface=MENU)
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
