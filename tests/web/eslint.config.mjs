// The lint of the browser page's JavaScript (scripts/lint-web runs it from the top folder): the
// page's services as ES modules, and the two scripts that emscripten links into each program.
import js from '@eslint/js';
import globals from 'globals';

// A module's state changes only through its own functions: an exported binding is a constant or
// a function, never a variable that importers would see change under them.
const noMutableExports = {
  meta: {
    type: 'problem',
    docs: { description: 'exported bindings must not be variables (let or var)' },
    schema: [],
    messages: { mutable: "'{{name}}' is a variable: export a function that reads it instead" },
  },
  create(context) {
    function report(node, name) {
      context.report({ node, messageId: 'mutable', data: { name } });
    }
    function isVariable(scope, name) {
      for (let s = scope; s; s = s.upper) {
        const found = s.set.get(name);
        if (found) {
          return found.defs.some((d) => d.type === 'Variable' && d.parent.kind !== 'const');
        }
      }
      return false;
    }
    return {
      ExportNamedDeclaration(node) {
        const declaration = node.declaration;
        if (declaration && declaration.type === 'VariableDeclaration') {
          if (declaration.kind !== 'const') {
            declaration.declarations.forEach((d) => report(d, d.id.name));
          }
          return;
        }
        if (node.source) return;
        const scope = context.sourceCode.getScope(node);
        node.specifiers.forEach((specifier) => {
          if (isVariable(scope, specifier.local.name)) report(specifier, specifier.local.name);
        });
      },
      ExportDefaultDeclaration(node) {
        const scope = context.sourceCode.getScope(node);
        if (node.declaration.type === 'Identifier' && isVariable(scope, node.declaration.name)) {
          report(node, node.declaration.name);
        }
      },
    };
  },
};

// Nor does a module change an object that another exports: no field of an import is assigned.
const noImportFieldAssign = {
  meta: {
    type: 'problem',
    docs: { description: 'fields of imported objects must not be assigned' },
    schema: [],
    messages: {
      field: "'{{name}}' belongs to the module it is imported from: call one of its functions",
    },
  },
  create(context) {
    function check(node, target) {
      let root = target;
      while (root.type === 'MemberExpression') root = root.object;
      if (root === target || root.type !== 'Identifier') return;
      for (let s = context.sourceCode.getScope(node); s; s = s.upper) {
        const found = s.set.get(root.name);
        if (!found) continue;
        if (found.defs.some((d) => d.type === 'ImportBinding')) {
          context.report({ node, messageId: 'field', data: { name: root.name } });
        }
        return;
      }
    }
    return {
      AssignmentExpression: (node) => check(node, node.left),
      UpdateExpression: (node) => check(node, node.argument),
      UnaryExpression: (node) => node.operator === 'delete' && check(node, node.argument),
    };
  },
};

const lab = {
  rules: { 'no-mutable-exports': noMutableExports, 'no-import-field-assign': noImportFieldAssign },
};

export default [
  js.configs.recommended,
  {
    plugins: { lab },
    rules: {
      'no-implicit-globals': 'error',
      'one-var': ['error', 'never'], // one declaration a line, as the formatter lays them out
      'lab/no-mutable-exports': 'error',
      'lab/no-import-field-assign': 'error',
    },
  },
  {
    files: ['src/platform/web/page/*.js'],
    languageOptions: {
      sourceType: 'module',
      globals: {
        ...globals.browser,
        LabAssets: 'readonly', // the page's fonts and pictures, a script of its own before these
      },
    },
  },
  {
    // The site's own start, a plain script on each of its pages.
    files: ['src/platform/web/site/site.js'],
    languageOptions: { sourceType: 'script', globals: globals.browser },
  },
  {
    // Emscripten links these into the program's script, beside its runtime's own names.
    files: ['src/platform/web/lab_library.js', 'src/platform/web/lab_module.js'],
    languageOptions: {
      sourceType: 'script',
      globals: {
        LabPage: 'readonly',
        Module: 'readonly',
        mergeInto: 'readonly',
        LibraryManager: 'readonly',
        Asyncify: 'readonly',
        UTF8ToString: 'readonly',
        allocateUTF8: 'readonly',
        HEAP32: 'readonly',
        addRunDependency: 'readonly',
        removeRunDependency: 'readonly',
      },
    },
  },
];
