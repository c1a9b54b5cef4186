#!/usr/bin/python3
# Renders EMF files as LibreOffice Draw shows them, each at its own pixel size (one
# picture pixel = one PNG pixel): the file is opened in Draw, the page made the size of
# the picture, the picture placed at 1:1 and the page exported as PNG.
#   lo-raster.py in.emf out.png [in.emf out.png ...]
import os, subprocess, sys, time, uno, tempfile, shutil
from com.sun.star.beans import PropertyValue
from com.sun.star.awt import Point, Size

def prop(name, value):
    p = PropertyValue(); p.Name = name; p.Value = value; return p

def le32(b, at): return int.from_bytes(b[at:at+4], 'little', signed=True)

profile = tempfile.mkdtemp(prefix='lo-profile-')
pipe = 'lo%d' % os.getpid()
office = subprocess.Popen(['soffice', '--headless', '--invisible', '--norestore',
                           '-env:UserInstallation=file://' + profile,
                           '--accept=pipe,name=%s;urp;' % pipe],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext('com.sun.star.bridge.UnoUrlResolver', local)
    for _ in range(300):
        try:
            ctx = resolver.resolve('uno:pipe,name=%s;urp;StarOffice.ComponentContext' % pipe)
            break
        except Exception:
            time.sleep(0.1)
    smgr = ctx.ServiceManager
    desktop = smgr.createInstanceWithContext('com.sun.star.frame.Desktop', ctx)
    args = sys.argv[1:]
    for src, dst in zip(args[0::2], args[1::2]):
        data = open(src, 'rb').read()
        w = le32(data, 16) - le32(data, 8) + 1
        h = le32(data, 20) - le32(data, 12) + 1
        doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(src)), '_blank', 0,
                                           (prop('Hidden', True),))
        page = doc.DrawPages.getByIndex(0)
        wmm, hmm = round(w * 2540 / 96), round(h * 2540 / 96)
        for border in ('BorderLeft', 'BorderRight', 'BorderTop', 'BorderBottom'):
            page.setPropertyValue(border, 0)
        page.Width, page.Height = wmm, hmm
        shape = page.getByIndex(0)
        shape.Position = Point(0, 0)
        shape.Size = Size(wmm, hmm)
        export = smgr.createInstanceWithContext('com.sun.star.drawing.GraphicExportFilter', ctx)
        export.setSourceDocument(page)
        filterData = uno.Any('[]com.sun.star.beans.PropertyValue',
                             (prop('PixelWidth', w), prop('PixelHeight', h)))
        export.filter((prop('URL', uno.systemPathToFileUrl(os.path.abspath(dst))),
                       prop('MediaType', 'image/png'), prop('FilterData', filterData)))
        doc.close(True)
finally:
    office.terminate()
    office.wait()
    shutil.rmtree(profile, ignore_errors=True)
