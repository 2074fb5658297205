// The page's JavaScript, its tests, benchmarks and scripts.
import js from '@eslint/js';
import globals from 'globals';

export default [
    { ignores: ['build*/', 'node_modules/'] },
    js.configs.recommended,
    {
        files: ['src/web/**/*.mjs', 'app/web/**/*.{js,mjs}'],
        languageOptions: { globals: { ...globals.browser, createVindleModule: 'readonly' } },
    },
    {
        files: ['tests/web/**/*.{js,mjs}', 'bench/web/**/*.mjs', 'scripts/*.mjs'],
        languageOptions: { globals: { ...globals.node, ...globals.browser } },
    },
    {
        files: ['app/web/site/service-worker.js'],
        languageOptions: { sourceType: 'script', globals: globals.serviceworker },
    },
    // Put into each page before it loads, as a script.
    { files: ['tests/web/browser/stand-ins.js'], languageOptions: { sourceType: 'script' } },
    {
        rules: {
            'no-unused-vars': ['error', { argsIgnorePattern: '^_', caughtErrors: 'none' }],
        },
    },
];
