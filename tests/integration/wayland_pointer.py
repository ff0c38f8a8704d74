"""A pointer for a Wayland compositor that has no input device (a headless
one): a virtual pointer (the zwlr_virtual_pointer_v1 protocol) spoken
straight over the compositor's socket. The pointer it adds gives the seat
its pointer, so windows, those of Xwayland too, get motion and buttons.
Each call returns once the compositor has handled it (a round trip)."""

import os
import socket
import struct

BTN_LEFT, BTN_RIGHT, BTN_MIDDLE = 0x110, 0x111, 0x112


def _string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


class VirtualPointer:
    def __init__(self, socket_path, width, height):
        """`width` x `height`: the layout the absolute positions map onto."""
        self.width, self.height = width, height
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(socket_path)
        self.buffer = b""
        self.next_id = 2  # 1 is the display
        self.time = 0
        registry = self._new_id()
        self._send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
        globals_ = {}
        self._round_trip(lambda obj, op, body: obj == registry and op == 0 and self._global(body, globals_))
        for needed in ("wl_seat", "zwlr_virtual_pointer_manager_v1"):
            if needed not in globals_:
                raise RuntimeError(f"the compositor offers no {needed}")
        seat = self._bind(registry, globals_["wl_seat"], "wl_seat", 1)
        manager = self._bind(registry, globals_["zwlr_virtual_pointer_manager_v1"],
                             "zwlr_virtual_pointer_manager_v1", 1)
        self.pointer = self._new_id()
        self._send(manager, 0, struct.pack("<II", seat, self.pointer))  # create_virtual_pointer
        self._round_trip()

    def _new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def _global(self, body, found):
        name, length = struct.unpack_from("<II", body)
        interface = body[8:8 + length - 1].decode()
        found.setdefault(interface, name)

    def _bind(self, registry, name, interface, version):
        new = self._new_id()
        self._send(registry, 0, struct.pack("<I", name) + _string(interface) + struct.pack("<II", version, new))
        return new

    def _send(self, obj, opcode, body=b""):
        self.sock.sendall(struct.pack("<II", obj, (8 + len(body)) << 16 | opcode) + body)

    def _round_trip(self, on_event=None):
        """wl_display.sync: every event before its answer goes to on_event."""
        callback = self._new_id()
        self._send(1, 0, struct.pack("<I", callback))
        while True:
            while len(self.buffer) < 8 or len(self.buffer) < (struct.unpack_from("<I", self.buffer, 4)[0] >> 16):
                data = self.sock.recv(65536)
                if not data:
                    raise RuntimeError("the compositor closed the connection")
                self.buffer += data
            obj, word = struct.unpack_from("<II", self.buffer)
            size, opcode = word >> 16, word & 0xFFFF
            body, self.buffer = self.buffer[8:size], self.buffer[size:]
            if obj == 1 and opcode == 0:  # wl_display.error
                raise RuntimeError("protocol error: " + body[12:].split(b"\0")[0].decode(errors="replace"))
            if obj == callback:
                return
            if on_event:
                on_event(obj, opcode, body)

    def _tick(self):
        self.time += 10
        return self.time

    def move_to(self, x, y):
        self._send(self.pointer, 1, struct.pack("<IIIII", self._tick(), x, y, self.width, self.height))
        self._send(self.pointer, 4)  # frame
        self._round_trip()

    def button(self, pressed, button=BTN_LEFT):
        self._send(self.pointer, 2, struct.pack("<III", self._tick(), button, 1 if pressed else 0))
        self._send(self.pointer, 4)
        self._round_trip()

    def click(self, x, y, button=BTN_LEFT):
        self.move_to(x, y)
        self.button(True, button)
        self.button(False, button)

    def close(self):
        self.sock.close()
