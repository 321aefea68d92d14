#!/usr/bin/python3
"""Asks an X11 window to close the way a window manager does (WM_DELETE_WINDOW),
so the application runs its normal shutdown.

Usage: close_window.py --intern     create the protocol atoms (before the app starts)
       close_window.py WINDOW_ID    send the close request

On a bare X server without a window manager the atoms do not exist yet, and an
application that only looks them up at start-up would not recognise the request;
--intern creates them (the server must run with -noreset to keep them)."""
import ctypes
import ctypes.util
import sys

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


def main():
    display = x11.XOpenDisplay(None)
    if not display:
        print("no X display", file=sys.stderr)
        return 1
    if sys.argv[1] == "--intern":
        x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        x11.XCloseDisplay(display)
        return 0
    window = int(sys.argv[1], 0)
    event = XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.xclient.data[1] = 0  # CurrentTime
    x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)
    return 0


if __name__ == "__main__":
    sys.exit(main())
