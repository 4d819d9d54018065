#!/usr/bin/env python3
"""Writes the seed inputs in fuzz/corpus/<target>/ (run from anywhere; rewrites them)."""
import base64
import json
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode('utf-8')
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def header(day=8, month=12, year=2026, hour=15, minute=4, second=5, ms=678):
    return b'#DT' + bytes([day, month]) + struct.pack('<H', year) + bytes(
        [hour, minute, second]) + struct.pack('<H', ms)


def frame(can_id, payload):
    return struct.pack('>HB', can_id, len(payload)) + bytes(payload)


def ack(can_id, result, byte2=0):
    return struct.pack('>HBB', can_id, byte2, result)


def udt(can_id, key, six):
    # The key is the last two payload bytes; the six bytes before it are the part's data.
    return frame(can_id, bytes(six) + struct.pack('>H', key))


def object_payload(obj_id, x_range, y_range, x_speed, y_speed, length):
    raw = (int(round(x_range / 0.064)) + 8192) & 0x3FFF
    raw |= ((int(round(y_range / 0.064)) + 8192) & 0x3FFF) << 14
    raw |= ((int(round(x_speed / 0.1)) + 1024) & 0x7FF) << 28
    raw |= ((int(round(y_speed / 0.1)) + 1024) & 0x7FF) << 39
    raw |= (int(round(length / 0.2)) & 0xFF) << 50
    raw |= (obj_id & 0x3F) << 58
    return struct.pack('>Q', raw)


def radar_frame(base, cycle, objects):
    """One radar cycle of a variant whose identifiers are the type Q ones minus base."""
    area = frame(0x3FF - base, bytes(8))
    area += frame(0x600 - base, struct.pack('>I', 90061001) + bytes(4))
    area += frame(0x601 - base, struct.pack('>I', cycle) + bytes(4))
    for i, obj in enumerate(objects):
        area += frame(0x610 - base + i, object_payload(*obj))
    return area


def device_info(base, first_key, text):
    text = text.encode('latin-1').ljust(24, b'\0')
    area = b''
    for part in range(4):
        chunk = text[part * 6:part * 6 + 6]
        area += udt(0x500 - base, first_key + part, chunk[::-1])
    return area


OBJECTS = [(3, 42.5, -1.75, -16.6, 0.2, 4.6), (7, 80.0, 3.5, 22.2, -0.1, 12.0)]

# Frame area splitting: selector byte, then the message.
write('framearea', 'q-stamped-cycle', b'\0' + header() + ack(0x4F0, 0) + radar_frame(0, 17, OBJECTS))
write('framearea', 'p-plain-cycle', b'\1' + radar_frame(0x100, 18, OBJECTS) + ack(0x3F0, 255))
write('framearea', 'invalid-date-truncated', b'\0' + header(month=0) + frame(0x601, bytes(8))[:-2])
write('framearea', 'any-ack', b'\2' + ack(0x123, 7) + frame(0x610, bytes(3)))
write('framearea', 'own-ack-id', b'\3\x07\x77' + ack(0x777, 1) + frame(0x777, b'') + frame(0x10, bytes(9)))

# Radar client: selector byte, then records (kind, 16-bit length, bytes).
def record(kind, body):
    if isinstance(body, str):
        body = body.encode('utf-8')
    return bytes([kind]) + struct.pack('>H', len(body)) + body


def cycles(base, count, stamped=True):
    out = b''
    for cycle in range(count):
        area = radar_frame(base, 100 + cycle, OBJECTS)
        out += record(0, (header(ms=cycle * 100) if stamped else b'') + area)
    return out


write('radarclient', 'q-three-cycles', b'\0' + cycles(0, 3))
write('radarclient', 'p-three-cycles-stats', b'\3' + cycles(0x100, 3, stamped=False))
write('radarclient', 'q-command-and-acks',
      b'\0' + record(4, b'\x01') + record(0, ack(0x4F0, 255)) + record(0, ack(0x4F0, 3))
      + record(5, b'\x04\x01') + record(0, ack(0x4F0, 0)) + record(0, b''))
write('radarclient', 'q-device-info',
      b'\0' + record(0, device_info(0, 0x6A, 'VANTOR-HW rev.3'))
      + record(0, device_info(0, 0x33, 'fw 1.45.0 build 2026')))
write('radarclient', 'q-setup-and-read-param',
      b'\0' + record(0, udt(0x500, 0x80, [0, 0, 0x12, 0x34, 0x56, 0x78])
                     + udt(0x500, 0x90, [0x69, 0x78, 0x00, 0x64, 0x8C, 0xA0])
                     + udt(0x500, 0xA0, [0, 0, 0, 0x02, 0x58, 0x00]))
      + record(0, udt(0x500, 0x2B1B, bytes(6)) + udt(0x500, 0x2B1C, [0x00, 0x41, 0x02, 0x0F, 0, 0])
               + udt(0x500, 0x2B1D, [0x00, 0x00, 0x00, 0x07, 0, 0])))
def read_param(base, action, param_type, number, value, nibble=0x01):
    # Key 0x2B1C carries the echoed command (number, type, action from the first byte on), key
    # 0x2B1D the value in its first four bytes; the low nibble of 0x2B1C's fourth byte must be set.
    return (udt(0x500 - base, 0x2B1B, bytes(6))
            + udt(0x500 - base, 0x2B1C, [number, param_type, action, nibble, 0, 0])
            + udt(0x500 - base, 0x2B1D, list(struct.pack('>i', value)) + [0, 0]))


READS = [(65, 2, 36, 7), (150, 2, 0, 0x1234), (151, 2, 0, 2), (0, 2, 68, 1), (148, 4, 4, -3),
         (70, 2, 0, 0x0F), (70, 2, 1, 1), (70, 3, 20, 12500000), (71, 5, 3, -2500000),
         (254, 2, 0, 5), (254, 2, 1, 1), (254, 2, 9, 40), (254, 2, 18, -40), (255, 2, 77, 99),
         (12, 3, 34, 1)]
write('radarclient', 'q-read-param-results',
      b'\0' + b''.join(record(0, read_param(0, *r)) for r in READS))
write('radarclient', 'p-read-param-ignored',
      b'\1' + record(0, read_param(0x100, 65, 0, 36, 7)) + record(0, read_param(0x100, 65, 2, 36, 7, 0x10)))
write('radarclient', 'q-duplicate-key', b'\0' + record(0, udt(0x500, 0x80, bytes(6)) * 2))
write('radarclient', 'text-messages',
      b'\0' + record(3, '{"command": 2, "result": 0, "radar_protocol": 1}')
      + record(3, '{"command": 1, "result": 0, "server_state": 2, '
                  '"nep_server_url": "ws://0.0.0.0:7578", "port_name": "/dev/ttyUSB0"}')
      + record(3, '{"command": 2}') + record(3, '[1, 2]'))
write('radarclient', 'setters',
      b'\0' + record(6, struct.pack('<BBid6d', 2, 5, -17, 12.5, 6.0, -1.5, 2.25, 30.0, -4.0, 0.5))
      + record(7, b''))

# Frame decoder: selector byte, then messages of a 16-bit length each.
def message(body):
    return struct.pack('>H', len(body)) + body


write('radarframedecoder', 'q-stamped-cycles',
      b'\0' + message(header() + radar_frame(0, 17, OBJECTS))
      + message(header(ms=100) + ack(0x4F0, 0) + radar_frame(0, 17, OBJECTS))
      + message(radar_frame(0, 18, OBJECTS)))
write('radarframedecoder', 'p-responses',
      b'\1' + message(device_info(0x100, 0x6A, 'VANTOR-HW rev.3') + read_param(0x100, 148, 2, 4, 12))
      + message(udt(0x400, 0x80, bytes(6)) + udt(0x400, 0x90, [0x69, 0x78, 0, 0, 0, 0])
                + udt(0x400, 0xA0, [0, 0, 0, 0x02, 0x58, 0x00])))
write('radarframedecoder', 'q-refused-frames',
      b'\0' + message(udt(0x500, 0x2B1C, bytes(6)) * 2 + radar_frame(0, 3, OBJECTS))
      + message(frame(0x611, bytes(7))) + message(header(month=13) + frame(0x700, bytes(8))))


# Work profiles: configuration files.
with open(os.path.join(HERE, '..', 'tests', 'data', 'profiles', 'full.json'), 'rb') as f:
    write('workprofilehandler', 'full', f.read())
write('workprofilehandler', 'minimal',
      json.dumps({'profiles': [{'name': 'A'}, {'name': 'B', 'connection': {'radar_protocol': 1}}],
                  'current_id': 1, 'future_member': [1, 2]}))
write('workprofilehandler', 'profiles-not-array', '{"profiles": {"name": "A"}, "current_id": 7}')
write('workprofilehandler', 'not-json', '{"profiles": [')

# Road configurations.
EXAMPLE = {'origin_offset': 4,
           'parts': {'-2': {'is_lane': False, 'width': 2}, '-1': {'is_lane': True, 'width': 3.5},
                     '0': {'is_lane': False, 'width': 0.5}, '1': {'is_lane': True, 'width': 3.5},
                     '2': {'is_lane': False, 'width': 2}},
           'sections': [{'is_curved': False, 'length': 100, 'radius': 0},
                        {'is_curved': True, 'length': 50, 'radius': 300}]}
write('roadbuilder', 'example', json.dumps(EXAMPLE))
write('roadbuilder', 'backwards-and-right',
      json.dumps({'parts': {'0': {'width': 1}, '1': {'is_lane': True, 'width': 3}},
                  'sections': [{'length': -30}, {'is_curved': True, 'length': 40, 'radius': -25},
                               {'is_curved': True, 'length': 400, 'radius': 10}]}))
write('roadbuilder', 'huge-numbers',
      '{"origin_offset": 1e308, "parts": {"0": {"width": 1e308}, "-1": {"width": -1e308}},'
      ' "sections": [{"length": 1e12}, {"is_curved": true, "length": 3e5, "radius": 1e5}]}')

# Text filter: rules, message, message length.
def filter_input(rules, message):
    message = message.encode('utf-8')
    return json.dumps(rules).encode('utf-8') + message + bytes([len(message)])


RULES = [{'name': 'errors', 'text': 'ERROR', 'info': 'Errors', 'csen': True, 'type': 'show'},
         {'name': 'noise', 'text': 'ping', 'info': '', 'csen': False, 'type': 'hide'},
         {'name': 'off', 'text': 'x', 'info': 'no type', 'csen': False, 'type': 'maybe'}]
write('textfilter', 'rules-hide', filter_input(RULES, 'PING from 10.0.0.7'))
write('textfilter', 'rules-show', filter_input(RULES, 'ping ERROR: Ö überlauf'))
write('textfilter', 'not-array', filter_input({'name': 'x'}, 'anything'))

# UDP datagrams: limit selector byte, then the datagram.
write('udpdatagram', 'json-object',
      b'\0' + json.dumps({'id': 7, 'state': 'working', 'objects': [{'x': 42.5, 'y': -1.75}],
                          'note': 'Straße \u2026'}).encode('utf-8'))
write('udpdatagram', 'json-cut-small', b'\3' + json.dumps([[1, [2, [3, {'a': None}]]], True]).encode())
write('udpdatagram', 'text-lines', b'\0' + b'PING 10.0.0.7\r\nline 2\nline 3\r\n\r\n')
write('udpdatagram', 'latin1-and-zero', b'\0' + b'caf\xe9 \xff\xfe' + b'\0' + b'after zero')
write('udpdatagram', 'utf8-surrogates', b'\2' + '\U0001F697 car \U0001F69A truck'.encode('utf-8') * 3)


# Camera pick-up: flags, frame size, radar position, previous X and half angle, six
# checkpoints (pixel, value), camera configuration. The marks are the road points as the
# camera model projects them (a port of CameraModel::rescale and xyToScreen).
def camera_marks(config, radar, points, width, height):
    cam_x = radar['x'] + config.get('x_offset', 0)
    cam_y = radar['y'] + config.get('y_offset', 0)
    cam_h = radar['height'] + config.get('z_offset', 0)
    azimuth = math.radians(radar['azimuth'] + config.get('azimuth_misalignment', 0))
    tilt = math.radians(radar['altitude'] + config.get('altitude_misalignment', 0))
    half = math.radians(config['horizontal_view_angle']) / 2
    aim_distance = cam_h / math.sin(tilt) * math.cos(tilt)
    sin_a, cos_a = math.sin(azimuth), math.cos(azimuth)
    aim = (cam_x + aim_distance * cos_a, cam_y + aim_distance * sin_a)
    tan_h = math.tan(half)
    half_v = math.atan(height / width * tan_h)
    bottom_tilt, top_tilt, half_top = tilt + half_v, tilt - half_v, half_v
    if top_tilt < 0.001:
        top_tilt, half_top = 0.001, tilt - 0.001
    bottom_slant, top_slant = cam_h / math.sin(bottom_tilt), cam_h / math.sin(top_tilt)
    u_bottom = bottom_slant * math.cos(bottom_tilt) - aim_distance
    u_top = top_slant * math.cos(top_tilt) - aim_distance
    k0 = cam_h / math.sin(tilt) * tan_h
    k1 = (math.cos(half_top) * top_slant * tan_h
          - math.cos(half_v) * bottom_slant * tan_h) / (u_top - u_bottom)
    marks = []
    for i, (x, y) in enumerate(points):
        dx, dy = x - aim[0], y - aim[1]
        l, u = sin_a * dx - cos_a * dy, cos_a * dx + sin_a * dy
        depression = math.atan(cam_h / (u + aim_distance))
        py = round(height * math.tan(tilt - depression) / math.tan(half_v) * 0.5)
        px = round(width * l / (k1 * u + k0) * 0.5)
        value = y
        if i == 4:
            value = 0.0
        if i == 5:
            value = math.hypot(points[5][0] - points[4][0], points[5][1] - points[4][1])
        marks.append((px + width // 2, height // 2 - py, value))
    return marks


def camera_input(flags, config, radar, points, width=800, height=600, previous_x=None):
    marks = camera_marks(config, radar, points, width, height)
    out = struct.pack('<BHH', flags, width, height)
    out += struct.pack('<5d', radar['height'], radar['x'], radar['y'], radar['azimuth'],
                       radar['altitude'])
    out += struct.pack('<2d', radar['x'] if previous_x is None else previous_x,
                       config['horizontal_view_angle'] / 2)
    for px, py, value in marks:
        out += struct.pack('<hhd', px, py, value)
    return out + json.dumps(config).encode()


SCENE_A = ({'horizontal_view_angle': 40.0, 'z_offset': 0.1},
           {'height': 7.0, 'x': 3.0, 'y': 1.5, 'azimuth': 4.0, 'altitude': 12.0},
           [(25, -2), (25, 5), (70, -2), (70, 5), (30, 1.5), (50, 1.5)])
SCENE_MAST = ({'horizontal_view_angle': 100.0, 'z_offset': 0.1, 'video_delay': 120,
               'x_offset': 0.5, 'azimuth_misalignment': 1.5, 'altitude_misalignment': -0.5},
              {'height': 25.0, 'x': 2.0, 'y': -6.0, 'azimuth': 20.0, 'altitude': 40.0},
              [(15, 0), (20, 7), (60, -3.5), (70, 7), (20, 3.5), (50, 3.5)])
write('camerapickup', 'model-only', camera_input(0, *SCENE_A))
write('camerapickup', 'pick-position', camera_input(2, *SCENE_A))
write('camerapickup', 'pick-position-and-angle', camera_input(3, *SCENE_A))
write('camerapickup', 'mast-wide-position', camera_input(2, *SCENE_MAST, width=1280, height=720))
write('camerapickup', 'looking-up', camera_input(2, {'horizontal_view_angle': 40.0},
                                                 {'height': 7.0, 'x': 0.0, 'y': 0.0,
                                                  'azimuth': 0.0, 'altitude': 12.0},
                                                 SCENE_A[2])[:-20] + b'"altitude_misalignment": -30}')


# Object tables: row limit, then steps (kind, arguments).
def table_object(obj_id, values, time=0):
    return struct.pack('<B5dB', obj_id, *values, time)


T0 = 1796828645000  # 2026-12-09 in ms since the epoch
CARS = [(3, (-16.6, 0.2, 42.5, -1.75, 4.6)), (7, (22.2, -0.1, 80.0, 3.5, 12.0)),
        (12, (0.0, 0.0, 5.0, 0.0, 0.0))]


def collected_frame(t, objects, finish=True):
    out = b'\0' + b'\1' + struct.pack('<q', t)
    for obj_id, values in objects:
        out += b'\2' + table_object(obj_id, values)
    return out + (b'\3' if finish else b'')


write('objecttables', 'three-frames',
      b'\0' + b''.join(collected_frame(T0 + 100 * i, CARS[i % 2:]) for i in range(3)))
write('objecttables', 'unfinished-and-repeated',
      b'\0' + collected_frame(T0, CARS, finish=False) + collected_frame(T0 + 100, CARS + CARS[:1])
      + b'\4' + b'\2' + table_object(5, (1, 2, 3, 4, 5)) + b'\3')
write('objecttables', 'small-limit-whole-frames',
      b'\5' + b''.join(b'\5' + struct.pack('<qB', T0 + 100 * i, 4)
                       + b''.join(table_object(o, v, t) for (o, v), t in
                                  zip(CARS + CARS[:1], (0, 0, 1, 0)))
                       for i in range(4)) + b'\7\0' + b'\6\0' + b'\6\1')
write('objecttables', 'non-finite',
      b'\0' + b'\5' + struct.pack('<qB', T0, 2)
      + table_object(1, (float('nan'), float('inf'), -float('inf'), 1e308, -0.0))
      + table_object(63, (1e-320, -1e308, float('nan'), 0.0, 25.5), 9)
      + b'\5' + struct.pack('<qB', 0, 1) + table_object(1, (1, 1, 1, 1, 1)))


# Simulator inputs: what (0 messages, 1 road, 2 state, 3 recording), flags, then the input.
def command(variant_base, action, param_type, number, value):
    payload = struct.pack('>iBBBB', value, action, param_type, number, 0)
    return struct.pack('>HB', 0x4F2 - variant_base, 8) + payload


write('siminputs', 'client-messages',
      b'\0\0' + record(0, '{"command": 2, "radar_protocol": 1}') + record(0, '{"command": 1}')
      + record(0, '{"command": 7}') + record(0, '[1, 2]') + record(0, 'not json')
      + record(1, command(0, 0, 2, 40, 8192)) + record(1, command(0, 0, 2, 42, 2))
      + record(1, command(0, 65, 0, 36, 7)) + record(2, b'')
      + record(1, command(0, 136, 0, 0, 0)) + record(1, command(0, 129, 0, 0, 0))
      + record(1, b'\x04\xf2\x08\x00') + record(2, b''))
write('siminputs', 'client-messages-p-busy',
      b'\0\3' + record(1, command(0x100, 254, 0, 0, 1)) + record(2, b'')
      + record(1, command(0x100, 254, 2, 1, 0)) + record(1, struct.pack('>HB', 0x3A0, 8) + bytes(8))
      + record(3, b'') + record(2, b'') + record(0, '{"command": 2, "radar_protocol": 5}'))
write('siminputs', 'road-example', b'\1\0' + json.dumps(EXAMPLE).encode())
write('siminputs', 'road-in-profiles',
      b'\1\x10' + json.dumps({'profiles': [{'view': {'traffic_scheme': {'road_config': EXAMPLE}}}],
                              'current_id': 0}).encode())
write('siminputs', 'state',
      b'\2\0' + json.dumps({'format': 'vantor-radar-sim state', 'version': 1,
                            'parameters': {'65/36': 7, '148/4': 12, '1/2': 3},
                            'position': {'height': 650, 'x_offset': 0, 'y_offset': -350,
                                         'azimuth': 0, 'altitude': 800, 'roll': 0}}).encode())


def recording(lines):
    header_line = json.dumps({'format': 'vantor-radar-sim recording', 'version': 1})
    return (header_line + '\n' + ''.join(json.dumps(line) + '\n' for line in lines)).encode()


REPLAY = [{'t_ms': 0, 'type': 'text', 'data': '{"command": 1, "server_state": 3}'},
          {'t_ms': 5, 'type': 'binary',
           'data': base64.b64encode(header() + radar_frame(0, 17, OBJECTS)).decode()},
          {'t_ms': 10, 'type': 'binary', 'data': base64.b64encode(radar_frame(0, 18, OBJECTS)).decode()},
          {'t_ms': 12, 'type': 'binary', 'data': '!!not base64'}, {'t_ms': -1, 'type': 'binary', 'data': ''}]
write('siminputs', 'recording', b'\3\0' + recording(REPLAY))
write('siminputs', 'recording-loop', b'\3\7' + recording(REPLAY[:3]))


# Main window start-up: configuration files.
write('mainwindow', 'full', open(os.path.join(HERE, '..', 'tests', 'data', 'profiles', 'full.json'), 'rb').read())
write('mainwindow', 'minimal', json.dumps({'profiles': [{'name': 'A'}], 'current_id': 0}))
write('mainwindow', 'wrong-types',
      json.dumps({'profiles': [{'name': 5, 'connection': {'radar_protocol': 'x', 'radar_server_url': 7},
                                'view': {'traffic_scheme': {'road_config': {'origin_offset': 1e308}},
                                         'tvms_config': {'horizontal_view_angle': 'wide'}}}],
                  'current_id': 'one'}))
write('mainwindow', 'not-json', '{"profiles": [')
