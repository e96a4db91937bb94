// The page's keys become the desktop's virtual-key codes.
import test from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
const { qvVirtualKey } = createRequire(import.meta.url)('../../platform/web/js/keys.js');

test('the keys of a run and their neighbours', () => {
  const expected = {
    KeyT: 0x54, KeyV: 0x56, KeyE: 0x45, KeyP: 0x50, KeyA: 0x41, KeyZ: 0x5A,
    Digit0: 0x30, Digit1: 0x31, Digit9: 0x39, Numpad0: 0x60, Numpad9: 0x69,
    Escape: 0x1B, Enter: 0x0D, NumpadEnter: 0x0D, Space: 0x20, F1: 0x70, F12: 0x7B, F24: 0x87,
    ArrowLeft: 0x25, ArrowDown: 0x28, Delete: 0x2E, Minus: 0xBD, Quote: 0xDE,
    F25: 0, F0: 0, Fn: 0, Unidentified: 0, '': 0, KeyAB: 0, Digit10: 0,
  };
  for (const [code, vk] of Object.entries(expected)) assert.equal(qvVirtualKey(code), vk, code);
});
