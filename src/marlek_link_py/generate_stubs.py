"""Writes the type stubs of the extension module _marlek_link, read from the
built module, and those of the package marlek_link, which re-exports it:

    python generate_stubs.py MODULE_STUBS PACKAGE_STUBS

MODULE_STUBS receives _marlek_link/ (installed as _marlek_link-stubs),
PACKAGE_STUBS the .pyi files of marlek_link and of its submodules, so that
`import marlek_link.meas.stop` type-checks as it runs.

The generator (pybind11-stubgen) reads the signatures pybind11 writes into
the docstrings, which do not tell a type checker all it needs:

- A class registered after the function that names it appears under its C++
  name ("ErrorObject", "MXml::MarlekFileInfo"), as the module's fixed order
  of registration makes it. Such a name is resolved to the one class of the
  module tree with that name.
- A duration parameter shows datetime.timedelta, which is what help() is to
  say, yet both duration conversions of the module also take a float number
  of seconds; the stubs accept both.
- The exception type is made with the C API and gets its attribute `error`
  only when it is raised; the stubs declare it.

Whatever the generator still cannot resolve fails the build, so that no
signature silently turns into Any.
"""

from __future__ import annotations

import enum
import importlib
import inspect
import pathlib
import re
import sys
import types

from pybind11_stubgen import CLIArgs, Printer, Writer, arg_parser, run, stub_parser_from_args
from pybind11_stubgen.parser.interface import IParser
from pybind11_stubgen.structs import Attribute, Field, Function, Identifier, QualifiedName, ResolvedType

MODULE = "_marlek_link"
PACKAGE = "marlek_link"

# A C++ or Python name that is not part of a dotted or "::" chain.
NATIVE_NAME = re.compile(r"(?<![\w.:])[A-Za-z_]\w*(?:::[A-Za-z_]\w*)*(?![\w.:])")
TIMEDELTA = QualifiedName.from_str("datetime.timedelta")


def module_tree(module: types.ModuleType) -> list[types.ModuleType]:
    """The module and its submodules, parents first."""
    tree = [module]
    for value in vars(module).values():
        if inspect.ismodule(value) and value.__name__.startswith(module.__name__ + "."):
            tree.extend(module_tree(value))
    return tree


def own_classes(tree: list[types.ModuleType]):
    """(module, class) for every class registered into a module of the tree."""
    for module in tree:
        for value in vars(module).values():
            if inspect.isclass(value) and value.__module__ == module.__name__:
                yield module, value


def classes_by_name(tree: list[types.ModuleType]) -> dict[str, str | None]:
    """Full Python name of each class by its short name; None where two
    classes share a short name, which then stays unresolved."""
    found: dict[str, str | None] = {}
    for module, cls in own_classes(tree):
        full = f"{module.__name__}.{cls.__qualname__}"
        found[cls.__name__] = full if found.get(cls.__name__, full) == full else None
    return found


class ResolveNativeNames(IParser):
    classes: dict[str, str | None] = {}

    def parse_annotation_str(self, annotation_str: str):
        return super().parse_annotation_str(NATIVE_NAME.sub(self._python_name, annotation_str))

    def _python_name(self, match: re.Match[str]) -> str:
        return self.classes.get(match.group(0).split("::")[-1]) or match.group(0)


class DurationsTakeSeconds(IParser):
    def handle_function(self, path: QualifiedName, func) -> list[Function]:
        functions = super().handle_function(path, func)
        for function in functions:
            for argument in function.args:
                if isinstance(argument.annotation, ResolvedType) and argument.annotation.name == TIMEDELTA:
                    argument.annotation = self.parse_annotation_str("datetime.timedelta | float")
        return functions


# Attributes that the module gives an instance when it raises it.
RAISED_ATTRIBUTES = {f"{MODULE}.MarlekLinkException": {"error": f"{MODULE}.ErrorObject"}}


class DeclareRaisedAttributes(IParser):
    def handle_class(self, path: QualifiedName, class_: type):
        result = super().handle_class(path, class_)
        if result is None:
            return None
        for name, annotation in RAISED_ATTRIBUTES.get(str(path), {}).items():
            attribute = Attribute(name=Identifier(name), value=None, annotation=self.parse_annotation_str(annotation))
            result.fields.append(Field(attribute=attribute, modifier=None))
        return result


class TypeStaticProperties(IParser):
    """A class constant made by a static property is written as a class
    variable, typed after its value: an empty list gives a bare `list`. The
    property's getter knows the element types."""

    def handle_class_member(self, path: QualifiedName, class_: type, member):
        result = super().handle_class_member(path, class_, member)
        static = class_.__dict__.get(str(path[-1]))
        if (isinstance(result, Field) and result.modifier == "static" and isinstance(static, property)
                and static.fget is not None):
            getters = self.handle_function(QualifiedName([*path, Identifier("")]), static.fget)
            if len(getters) == 1 and getters[0].returns is not None:
                result.attribute.annotation = ResolvedType(
                    name=self.parse_annotation_str("typing.ClassVar").name, parameters=[getters[0].returns])
        return result


def write_module_stubs(tree: list[types.ModuleType], output: pathlib.Path) -> None:
    args = arg_parser().parse_args(["--exit-code", "-o", str(output), MODULE], namespace=CLIArgs())
    generated = type(stub_parser_from_args(args))

    class Parser(ResolveNativeNames, DurationsTakeSeconds, TypeStaticProperties, DeclareRaisedAttributes,
                 generated):
        pass

    parser = Parser()
    parser.classes = classes_by_name(tree)
    # Default values show enumeration members by their class's short name.
    parser.set_pybind11_enum_locations({
        re.compile(f"^{cls.__name__}$"): module.__name__
        for module, cls in own_classes(tree) if issubclass(cls, enum.Enum)
    })
    run(parser, Printer(invalid_expr_as_ellipses=True), [MODULE], str(output), root_suffix=None, dry_run=False,
        writer=Writer())


def package_stub(module: types.ModuleType, extra: list[str]) -> str:
    """A stub that re-exports every public name of `module`, its submodules
    as the package's own."""
    names = sorted(name for name in vars(module) if not name.startswith("_"))
    submodules = [name for name in names if inspect.ismodule(getattr(module, name))]
    lines = [f'"""{module.__doc__ or ""}"""']
    exported = [name for name in names if name not in submodules]
    if exported:
        lines.append(f"from {module.__name__} import (")
        lines += [f"    {name} as {name}," for name in exported]
        lines.append(")")
    if submodules:
        lines.append(f"from . import {', '.join(f'{name} as {name}' for name in submodules)}")
    return "\n".join(lines + extra) + "\n"


def write_package_stubs(tree: list[types.ModuleType], output: pathlib.Path) -> None:
    for module in tree:
        parts = module.__name__.split(".")[1:]
        has_children = any(other.__name__.startswith(module.__name__ + ".") for other in tree)
        if not parts or has_children:
            path = output.joinpath(*parts, "__init__.pyi")
        else:
            path = output.joinpath(*parts[:-1], parts[-1] + ".pyi")
        extra = []
        if module.__name__ == MODULE:
            package = importlib.import_module(PACKAGE)
            extra = ["", "__version__: str", f"__all__: list[str] = {package.__all__!r}"]
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(package_stub(module, extra))


def main() -> None:
    module_output, package_output = map(pathlib.Path, sys.argv[1:3])
    tree = module_tree(importlib.import_module(MODULE))
    write_module_stubs(tree, module_output)
    write_package_stubs(tree, package_output)


if __name__ == "__main__":
    main()
