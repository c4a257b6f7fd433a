import test from 'node:test';
test('placeholder', () => {});
